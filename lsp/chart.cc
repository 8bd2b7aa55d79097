// The DMX chart of an open document: as HTML for an editor that shows it
// beside the template (the request fxt/chart), and as a file that the
// client opens in a browser (the command fxt.showChart; ChartPages keeps
// those files).
#include <string>

#include "chart/chart_source.h"
#include "chart/page.h"
#include "lsp/params.h"
#include "lsp/server.h"

namespace fxt::lsp {
namespace {

constexpr std::string_view SHOW_CHART = "fxt.showChart";
constexpr int MESSAGE_ERROR = 1;

std::string PageOf(std::string_view uri, const OpenDocument& document) {
  return chart::ChartPage(chart::ReadForChart(std::string(uri), document.analysis.bytes));
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
  const WrittenPage written = chartPages_.Write(executed.uri, PageOf(executed.uri, *document));
  if (!written.problem.empty()) {
    Notify("window/showMessage",
           {{"type", MESSAGE_ERROR},
            {"message", "fxt: the DMX chart could not be written: " + written.problem}});
    return nullptr;
  }
  const std::string& page = written.uri;
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
