// Workspace symbols: the templates, attributes and parameters of the open
// documents and of the templates below the workspace's folders, found with
// fxtlint's walk. The scan reports its progress and stops at a cancel,
// which it looks for between files.
#include <fstream>
#include <iterator>
#include <set>

#include "lsp/message_json.h"
#include "lsp/record_words.h"
#include "lsp/server.h"
#include "tools/display_path.h"
#include "tools/file_uri.h"
#include "tools/template_files.h"

namespace fxt::lsp {
namespace {

// Bounds that keep a scan of a large tree short and its answer small.
constexpr size_t MOST_WORKSPACE_TEMPLATES = 2000;
constexpr size_t MOST_WORKSPACE_FOLDERS = 10000;
constexpr size_t MOST_WORKSPACE_SYMBOLS = 2000;
constexpr std::streamsize MOST_TEMPLATE_BYTES = std::streamsize{4} << 20;
constexpr size_t MOST_LOGGED_PROBLEMS = 20;

// The protocol's symbol kinds and log message type.
constexpr int KIND_CLASS = 5;
constexpr int KIND_PROPERTY = 7;
constexpr int KIND_FIELD = 8;
constexpr int MESSAGE_LOG = 4;

char Lowered(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The query's characters in the name, in order, in any letter case.
bool Matches(std::string_view name, std::string_view query) {
  size_t at = 0;
  for (const char c : name) {
    if (at < query.size() && Lowered(c) == Lowered(query[at])) ++at;
  }
  return at == query.size();
}

class SymbolList {
 public:
  explicit SymbolList(std::string query) : query_(std::move(query)) {}

  bool Full() const { return symbols_.size() >= MOST_WORKSPACE_SYMBOLS; }
  json Take() { return std::move(symbols_); }

  // The template's symbols; its names are template bytes.
  void Add(const Snapshot& snapshot) {
    const FixtureTemplate* fixture = snapshot.analysis.fixture.get();
    if (fixture == nullptr) return;
    const std::string container = Latin1ToUtf8(fixture->modelName);
    Add(snapshot, fixture->modelName.empty() ? "(no name)" : fixture->modelName, KIND_CLASS,
        fixture->sourceLine, "");
    for (const Block& block : snapshot.blocks) {
      if (block.kind == Block::Kind::kAttribute) {
        Add(snapshot, NameOf(*block.attribute), KIND_FIELD, block.firstLine, container);
      } else if (block.kind == Block::Kind::kParameter) {
        Add(snapshot, NameOf(*block.parameter), KIND_PROPERTY, block.firstLine, container);
      }
    }
  }

 private:
  std::string query_;  // UTF-8, matched against the names as UTF-8
  json symbols_ = json::array();

  void Add(const Snapshot& snapshot, const std::string& name, int kind, int32_t line,
           const std::string& container) {
    const std::string shown = Latin1ToUtf8(name);
    if (Full() || !Matches(shown, query_)) return;
    json symbol = {
        {"name", shown},
        {"kind", kind},
        {"location", {{"uri", snapshot.uri}, {"range", snapshot.LineRange(line, line)}}}};
    if (!container.empty()) symbol["containerName"] = container;
    symbols_.push_back(std::move(symbol));
  }
};

// A template file's bytes as the document an editor shows: one character
// for each byte. Empty with `problem` set when it cannot be read whole.
std::string TemplateText(const std::string& path, std::string& problem) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    problem = "cannot be read";
    return {};
  }
  std::string bytes;
  char chunk[4096];
  while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
    bytes.append(chunk, static_cast<size_t>(file.gcount()));
    if (std::ssize(bytes) > MOST_TEMPLATE_BYTES) {
      problem = "larger than a template can be (4 MiB), passed over";
      return {};
    }
  }
  if (file.bad()) problem = "cannot be read";
  return Latin1ToUtf8(bytes);
}

bool IsCancelOf(const json& message, const json& id) {
  if (!message.is_object()) return false;
  const auto method = message.find("method");
  const auto params = message.find("params");
  return method != message.end() && *method == "$/cancelRequest" && params != message.end() &&
         params->is_object() && params->contains("id") && (*params)["id"] == id;
}

void AddFolder(std::vector<std::string>& paths, const json& uri) {
  if (!uri.is_string()) return;
  if (std::optional<std::string> path = PathOfFileUri(uri.get<std::string>())) {
    paths.push_back(std::move(*path));
  }
}

}  // namespace

std::vector<std::string> WorkspaceFolderPaths(const json& initializeParams) {
  std::vector<std::string> paths;
  if (!initializeParams.is_object()) return paths;
  const auto folders = initializeParams.find("workspaceFolders");
  if (folders != initializeParams.end() && folders->is_array()) {
    for (const json& folder : *folders) {
      if (folder.is_object() && folder.contains("uri")) AddFolder(paths, folder["uri"]);
    }
    return paths;
  }
  const auto root = initializeParams.find("rootUri");
  if (root != initializeParams.end() && root->is_string()) {
    AddFolder(paths, *root);
    return paths;
  }
  const auto rootPath = initializeParams.find("rootPath");
  if (rootPath != initializeParams.end() && rootPath->is_string() && !rootPath->empty()) {
    paths.push_back(rootPath->get<std::string>());
  }
  return paths;
}

void Server::DidChangeWorkspaceFolders(const json& params) {
  const json& event = params.at("event");
  std::vector<std::string> removed;
  for (const json& folder : event.at("removed")) AddFolder(removed, folder.at("uri"));
  std::vector<std::string> added;
  for (const json& folder : event.at("added")) AddFolder(added, folder.at("uri"));
  std::erase_if(workspaceFolders_, [&](const std::string& path) {
    return std::find(removed.begin(), removed.end(), path) != removed.end();
  });
  workspaceFolders_.insert(workspaceFolders_.end(), added.begin(), added.end());
}

void Server::Flush() {
  if (connection_ == nullptr) return;
  for (const std::string& body : outgoing_) connection_->Send(body);
  outgoing_.clear();
}

// Reads the messages that wait: a cancel of the request in hand is taken,
// every other message is kept, to be handled after the request.
bool Server::CancelArrived() {
  if (connection_ == nullptr) return false;
  bool cancelled = false;
  while (std::optional<std::string> body = connection_->Waiting()) {
    if (IsCancelOf(ParseMessage(*body), requestInHand_)) {
      cancelled = true;
    } else {
      deferred_.push_back(std::move(*body));
    }
  }
  return cancelled;
}

// The token of the client's request, or one that the server asks the
// client to create when it can; none when neither.
std::optional<json> Server::BeginProgress(const json& params, const std::string& title) {
  std::optional<json> token;
  const auto given = params.find("workDoneToken");
  if (given != params.end() && (given->is_string() || given->is_number_integer())) {
    token = *given;
  } else if (clientCreatesProgress_) {
    token = "fxt-progress-" + std::to_string(++requestsSent_);
    outgoing_.push_back(json{{"jsonrpc", "2.0"},
                             {"id", *token},
                             {"method", "window/workDoneProgress/create"},
                             {"params", {{"token", *token}}}}
                            .dump(-1, ' ', false, json::error_handler_t::replace));
  }
  Progress(token, {{"kind", "begin"}, {"title", title}, {"cancellable", true}, {"percentage", 0}});
  return token;
}

void Server::Progress(const std::optional<json>& token, json value) {
  if (!token) return;
  Notify("$/progress", {{"token", *token}, {"value", std::move(value)}});
  Flush();
}

json Server::WorkspaceSymbols(const json& params) {
  const auto query = params.find("query");
  if (query == params.end() || !query->is_string()) throw InvalidParams("query is no string");
  SymbolList symbols(query->get<std::string>());
  std::set<std::string> openPaths;
  for (const auto& [uri, document] : documents_) {
    symbols.Add(Snapshot(uri, document->analysis, document->lines, encoding_));
    if (std::optional<std::string> path = PathOfFileUri(uri)) openPaths.insert(std::move(*path));
  }
  const std::optional<json> token = BeginProgress(params, "Reading the workspace's templates");
  const auto cancelled = [&] {
    Progress(token, {{"kind", "end"}, {"message", "cancelled"}});
    return RequestCancelled();
  };
  // A walk of a large tree stops at a cancel, or after so many folders.
  bool cancel = false;
  size_t folders = 0;
  std::vector<PathProblem> problems;
  const std::vector<std::string> paths =
      CollectTemplates(workspaceFolders_, problems, MOST_WORKSPACE_TEMPLATES, [&] {
        cancel = CancelArrived();
        return !cancel && ++folders <= MOST_WORKSPACE_FOLDERS;
      });
  if (cancel) throw cancelled();
  if (folders > MOST_WORKSPACE_FOLDERS) {
    Log(MESSAGE_LOG, "workspace symbols: the walk stopped after " +
                         std::to_string(MOST_WORKSPACE_FOLDERS) + " folders");
  }
  int reported = 0;
  for (size_t i = 0; i < paths.size() && !symbols.Full(); ++i) {
    if (CancelArrived()) throw cancelled();
    if (!openPaths.contains(paths[i])) {
      std::string problem;
      const std::string text = TemplateText(paths[i], problem);
      if (!problem.empty()) {
        problems.push_back({paths[i], problem});
        continue;
      }
      const LineIndex lines(text);
      const Analysis analysis = Analyse(text);
      symbols.Add(Snapshot(FileUri(paths[i]), analysis, lines, encoding_));
    }
    const auto percentage = static_cast<int>((i + 1) * 100 / paths.size());
    if (percentage != reported) {
      reported = percentage;
      Progress(token, {{"kind", "report"},
                       {"message", std::to_string(i + 1) + " of " + std::to_string(paths.size())},
                       {"percentage", percentage}});
    }
  }
  Progress(token, {{"kind", "end"}, {"message", std::to_string(paths.size()) + " templates"}});
  if (paths.size() == MOST_WORKSPACE_TEMPLATES) {
    Log(MESSAGE_LOG, "workspace symbols: the first " + std::to_string(paths.size()) +
                         " templates were read, the rest passed over");
  }
  for (size_t i = 0; i < problems.size() && i < MOST_LOGGED_PROBLEMS; ++i) {
    Log(MESSAGE_LOG,
        "workspace symbols: " + Utf8Path(problems[i].path) + ": " + problems[i].reason);
  }
  return symbols.Take();
}

}  // namespace fxt::lsp
