// The DMX chart of an open document: as HTML for an editor that shows it
// beside the template (the request fxt/chart), and as a file that the
// client opens in a browser (the command fxt.showChart).
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "chart/chart_source.h"
#include "chart/page.h"
#include "lsp/params.h"
#include "lsp/server.h"
#include "tools/replace_file.h"

namespace fxt::lsp {
namespace {

constexpr std::string_view SHOW_CHART = "fxt.showChart";
constexpr int MESSAGE_ERROR = 1;

std::string PageOf(std::string_view uri, const OpenDocument& document) {
  return chart::ChartPage(chart::ReadForChart(std::string(uri), document.analysis.bytes));
}

// A folder of this server's own for the pages it writes, made on first use;
// "" when none could be made.
const std::string& PageFolder() {
  static const std::string folder = [] {
    const char* temporary = std::getenv("TMPDIR");
    std::string pattern =
        std::string(temporary != nullptr && *temporary != '\0' ? temporary : "/tmp") +
        "/fxt-chart-XXXXXX";
    return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
  }();
  return folder;
}

// The page's file: the document's file name, made safe, and a hash of its
// address, so that two documents of one name keep two pages.
std::string PagePath(std::string_view uri) {
  std::string name(uri.substr(uri.find_last_of('/') + 1));
  for (char& c : name) {
    const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '.' || c == '-' || c == '_';
    if (!safe) c = '_';
  }
  constexpr size_t kLongestName = 100;
  name.resize(std::min(name.size(), kLongestName));
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016zx", std::hash<std::string_view>{}(uri));
  return PageFolder() + "/" + name + "-" + hash + ".html";
}

}  // namespace

json Server::Chart(const json& params) {
  const OpenDocument* document = DocumentOf(params);
  if (document == nullptr) return nullptr;
  const std::string_view uri = DocumentUriOf(params);
  return {{"uri", uri}, {"version", document->version}, {"html", PageOf(uri, *document)}};
}

// fxt.showChart, with the document's address as its argument: writes the
// page and asks the client to open it in a browser, when it can; answers
// the page's address, or null when the document is not open.
json Server::ExecuteCommand(const json& params) {
  const ExecutedCommand executed = ReadCommand(params);
  if (executed.command != SHOW_CHART) throw InvalidParams("no such command");
  const OpenDocument* document = DocumentOf({{"textDocument", {{"uri", executed.uri}}}});
  if (document == nullptr) return nullptr;
  const std::string path = PagePath(executed.uri);
  const std::string problem = PageFolder().empty()
                                  ? "no folder for it could be made"
                                  : WriteWholeFile(path, PageOf(executed.uri, *document));
  if (!problem.empty()) {
    Notify("window/showMessage",
           {{"type", MESSAGE_ERROR},
            {"message", "fxt: the DMX chart could not be written: " + problem}});
    return nullptr;
  }
  const std::string page = "file://" + path;
  if (clientShowsDocuments_) {
    outgoing_.push_back(json{{"jsonrpc", "2.0"},
                             {"id", "fxt-show-" + std::to_string(++requestsSent_)},
                             {"method", "window/showDocument"},
                             {"params", {{"uri", page}, {"external", true}}}}
                            .dump(-1, ' ', false, json::error_handler_t::replace));
  }
  return {{"uri", page}};
}

}  // namespace fxt::lsp
