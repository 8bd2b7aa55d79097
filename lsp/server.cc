#include "lsp/server.h"

#include <algorithm>
#include <new>

#include "lsp/features.h"
#include "lsp/message_json.h"
#include "lsp/params.h"

namespace fxt::lsp {
namespace {

// The protocol's error codes.
constexpr int PARSE_ERROR = -32700;
constexpr int INVALID_REQUEST = -32600;
constexpr int METHOD_NOT_FOUND = -32601;
constexpr int INVALID_PARAMS = -32602;
constexpr int INTERNAL_ERROR = -32603;
constexpr int SERVER_NOT_INITIALIZED = -32002;
constexpr int REQUEST_FAILED = -32803;
constexpr int REQUEST_CANCELLED = -32800;

// The protocol's message types, for window/logMessage and showMessage.
constexpr int MESSAGE_ERROR = 1;
constexpr int MESSAGE_WARNING = 2;

constexpr int SYNC_INCREMENTAL = 2;

// Whether the client's capabilities hold `true` at the path of keys.
bool ClientCan(const json& params, std::initializer_list<const char*> keys) {
  const json* at = &params;
  for (const char* key : keys) {
    if (!at->is_object()) return false;
    const auto found = at->find(key);
    if (found == at->end()) return false;
    at = &*found;
  }
  return *at == true;
}

bool OffersUtf8(const json& params) {
  const json* encodings = nullptr;
  if (params.contains("capabilities") && params["capabilities"].contains("general")) {
    const json& general = params["capabilities"]["general"];
    if (general.contains("positionEncodings")) encodings = &general["positionEncodings"];
  }
  if (encodings == nullptr || !encodings->is_array()) return false;
  return std::ranges::any_of(*encodings, [](const json& name) { return name == "utf-8"; });
}

bool IsId(const json& id) { return id.is_string() || id.is_number() || id.is_null(); }

// Each change applies to the text as the changes before it left it.
std::string Changed(std::string text, const std::vector<TextChange>& changes, Encoding encoding) {
  for (const TextChange& change : changes) {
    if (!change.range) {
      text = change.text;
      continue;
    }
    const LineIndex lines(text);
    const size_t begin = lines.OffsetOf(change.range->start, encoding);
    const size_t end = std::max(begin, lines.OffsetOf(change.range->end, encoding));
    text.replace(begin, end - begin, change.text);
  }
  return text;
}

}  // namespace

OpenDocument::OpenDocument(std::string documentText, int64_t documentVersion)
    : text(std::move(documentText)),
      version(documentVersion),
      lines(text),
      analysis(Analyse(text)) {}

const std::map<std::string_view, Server::Request>& Server::Requests() {
  static const std::map<std::string_view, Request> kRequests = {
      {"initialize", &Server::Initialize},
      {"shutdown", &Server::Shutdown},
      {"textDocument/documentSymbol", &Server::Symbols},
      {"textDocument/hover", &Server::HoverAt},
      {"textDocument/completion", &Server::CompletionAt},
      {"textDocument/definition", &Server::DefinitionAt},
      {"textDocument/codeAction", &Server::CodeActionsIn},
      {"fxt/chart", &Server::Chart},
      {"workspace/executeCommand", &Server::ExecuteCommand},
      {"textDocument/inlayHint", &Server::InlayHintsIn},
      {"textDocument/references", &Server::ReferencesAt},
      {"textDocument/prepareRename", &Server::PrepareRenameAt},
      {"textDocument/rename", &Server::RenameAt},
      {"workspace/symbol", &Server::WorkspaceSymbols},
      {"textDocument/formatting", &Server::Format},
      {"textDocument/rangeFormatting", &Server::FormatRange},
      {"textDocument/onTypeFormatting", &Server::FormatOnType},
      {"textDocument/foldingRange", &Server::Folding},
      {"textDocument/documentHighlight", &Server::Highlight},
      {"textDocument/semanticTokens/full", &Server::TokensFull},
      {"textDocument/semanticTokens/full/delta", &Server::TokensDelta},
  };
  return kRequests;
}

const std::map<std::string_view, Server::Notification>& Server::Notifications() {
  static const std::map<std::string_view, Notification> kNotifications = {
      {"initialized", &Server::Initialized},
      {"exit", &Server::Exit},
      {"textDocument/didOpen", &Server::DidOpen},
      {"textDocument/didChange", &Server::DidChange},
      {"textDocument/didClose", &Server::DidClose},
      {"textDocument/didSave", &Server::DidSave},
      {"workspace/didChangeWorkspaceFolders", &Server::DidChangeWorkspaceFolders},
  };
  return kNotifications;
}

// Memory that runs out anywhere in a message fails that message alone: the
// server goes on with the documents as they were before it.
std::vector<std::string> Server::Handle(std::string_view body) {
  outgoing_.clear();
  HandleOne(body);
  while (!deferred_.empty() && !exitRequested_) {
    const std::string next = std::move(deferred_.front());
    deferred_.pop_front();
    HandleOne(next);
  }
  deferred_.clear();
  return std::move(outgoing_);
}

void Server::HandleOne(std::string_view body) {
  InHand inHand;
  try {
    Dispatch(body, inHand);
  } catch (const std::bad_alloc&) {
    OutOfMemory(inHand);
  }
}

void Server::Dispatch(std::string_view body, InHand& inHand) {
  const json message = ParseMessage(body);
  if (message.is_discarded()) {
    RespondError(nullptr, PARSE_ERROR, "the message is no JSON");
    return;
  }
  if (!message.is_object()) {
    RespondError(nullptr, INVALID_REQUEST, "a message is a JSON object");
    return;
  }
  const auto id = message.find("id");
  const bool request = id != message.end();
  if (request && !IsId(*id)) {
    RespondError(nullptr, INVALID_REQUEST, "an id is a number or a string");
    return;
  }
  if (request) inHand.id = *id;
  const auto method = message.find("method");
  if (method == message.end() || !method->is_string()) {
    // A response to a request of ours: the server sends none, so none is awaited.
    if (!(request && (message.contains("result") || message.contains("error")))) {
      RespondError(request ? *id : json(nullptr), INVALID_REQUEST, "a request needs a method");
    }
    return;
  }
  inHand.method = method->get<std::string>();
  static const json kNoParams = json::object();
  const auto params = message.find("params");
  const json& parameters = params == message.end() ? kNoParams : *params;
  if (NestsDeeperThan(parameters, MOST_NESTING)) {
    const std::string problem =
        "params nest deeper than " + std::to_string(MOST_NESTING) + " levels";
    if (request) {
      RespondError(*id, INVALID_PARAMS, problem);
    } else {
      Log(MESSAGE_WARNING, inHand.method + " passed over: " + problem);
    }
    return;
  }
  if (request) {
    HandleRequest(*id, inHand.method, parameters);
  } else {
    HandleNotification(inHand.method, parameters);
  }
}

void Server::HandleRequest(const json& id, const std::string& method, const json& params) {
  if (phase_ == Phase::kWaiting && method != "initialize") {
    RespondError(id, SERVER_NOT_INITIALIZED, "initialize comes first");
    return;
  }
  if (phase_ == Phase::kShutDown) {
    RespondError(id, INVALID_REQUEST, "the server has shut down");
    return;
  }
  if (phase_ == Phase::kRunning && method == "initialize") {
    RespondError(id, INVALID_REQUEST, "the server is initialised already");
    return;
  }
  const auto handler = Requests().find(method);
  if (handler == Requests().end()) {
    RespondError(id, METHOD_NOT_FOUND, "no such method: " + method);
    return;
  }
  requestInHand_ = id;
  try {
    Respond(id, (this->*handler->second)(params));
  } catch (const InvalidParams& error) {
    RespondError(id, INVALID_PARAMS, error.what());
  } catch (const json::exception& error) {
    RespondError(id, INVALID_PARAMS, error.what());
  } catch (const RequestFailed& error) {
    RespondError(id, REQUEST_FAILED, error.what());
  } catch (const RequestCancelled& error) {
    RespondError(id, REQUEST_CANCELLED, error.what());
  }
}

// Notifications before initialize are dropped, but exit, and so are those
// after shutdown; so are unknown ones, and those beginning "$/". One whose
// parameters are wrong changes nothing, and the log says why.
void Server::HandleNotification(const std::string& method, const json& params) {
  if (phase_ != Phase::kRunning && method != "exit") return;
  const auto handler = Notifications().find(method);
  if (handler == Notifications().end()) return;
  try {
    (this->*handler->second)(params);
  } catch (const InvalidParams& error) {
    Log(MESSAGE_WARNING, method + " passed over: " + error.what());
  } catch (const json::exception& error) {
    Log(MESSAGE_WARNING, method + " passed over: " + error.what());
  }
}

void Server::Respond(const json& id, json result) {
  outgoing_.push_back(json{{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}}.dump(
      -1, ' ', false, json::error_handler_t::replace));
}

void Server::RespondError(const json& id, int code, const std::string& message) {
  outgoing_.push_back(
      json{{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}}.dump(
          -1, ' ', false, json::error_handler_t::replace));
}

void Server::Notify(const std::string& method, json params) {
  outgoing_.push_back(
      json{{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}}.dump(
          -1, ' ', false, json::error_handler_t::replace));
}

void Server::Log(int type, const std::string& message) {
  Notify("window/logMessage", {{"type", type}, {"message", message}});
}

// A request gets its error; a notification cannot be answered, so the user
// is told.
void Server::OutOfMemory(const InHand& inHand) {
  if (inHand.id) {
    RespondError(*inHand.id, INTERNAL_ERROR, "out of memory");
  } else {
    Notify(
        "window/showMessage",
        {{"type", MESSAGE_ERROR},
         {"message", "fxt-language-server: out of memory " +
                         (inHand.method.empty() ? "reading a message" : "in " + inHand.method)}});
  }
}

std::string Server::OutOfMemoryError() {
  outgoing_.clear();
  RespondError(nullptr, INTERNAL_ERROR, "out of memory: the message is too large to read");
  return std::move(outgoing_.front());
}

json Server::Initialize(const json& params) {
  phase_ = Phase::kRunning;
  encoding_ = OffersUtf8(params) ? Encoding::kUtf8 : Encoding::kUtf16;
  clientShowsDocuments_ = ClientCan(params, {"capabilities", "window", "showDocument", "support"});
  clientCreatesProgress_ = ClientCan(params, {"capabilities", "window", "workDoneProgress"});
  workspaceFolders_ = WorkspaceFolderPaths(params);
  return {
      {"capabilities",
       {{"positionEncoding", encoding_ == Encoding::kUtf8 ? "utf-8" : "utf-16"},
        {"textDocumentSync", {{"openClose", true}, {"change", SYNC_INCREMENTAL}, {"save", true}}},
        {"documentSymbolProvider", true},
        {"hoverProvider", true},
        {"completionProvider", {{"triggerCharacters", {"\""}}}},
        {"definitionProvider", true},
        {"codeActionProvider", {{"codeActionKinds", {"quickfix", "source.fixAll.fxt"}}}},
        {"executeCommandProvider", {{"commands", {"fxt.showChart"}}}},
        {"inlayHintProvider", true},
        {"referencesProvider", true},
        {"renameProvider", {{"prepareProvider", true}}},
        {"workspaceSymbolProvider", {{"workDoneProgress", true}}},
        {"workspace",
         {{"workspaceFolders", {{"supported", true}, {"changeNotifications", true}}}}},
        {"documentFormattingProvider", true},
        {"documentRangeFormattingProvider", true},
        {"documentOnTypeFormattingProvider", {{"firstTriggerCharacter", "\n"}}},
        {"foldingRangeProvider", true},
        {"documentHighlightProvider", true},
        {"semanticTokensProvider",
         {{"legend", SemanticTokensLegend()}, {"full", {{"delta", true}}}, {"range", false}}}}},
      {"serverInfo", {{"name", "fxt-language-server"}, {"version", FXT_VERSION}}}};
}

json Server::Shutdown(const json& /*params*/) {
  phase_ = Phase::kShutDown;
  return nullptr;
}

void Server::Initialized(const json& /*params*/) {}

void Server::Exit(const json& /*params*/) { exitRequested_ = true; }

const OpenDocument* Server::DocumentOf(const json& params) const {
  const auto found = documents_.find(DocumentUriOf(params));
  return found == documents_.end() ? nullptr : found->second.get();
}

void Server::PublishDiagnostics(std::string_view uri, const OpenDocument& document) {
  const std::string uriText(uri);
  const Snapshot snapshot(uriText, document.analysis, document.lines, encoding_);
  Notify("textDocument/publishDiagnostics",
         {{"uri", uriText}, {"version", document.version}, {"diagnostics", Diagnostics(snapshot)}});
}

void Server::DidOpen(const json& params) {
  const OpenedDocument opened = ReadOpened(params);
  auto document = std::make_unique<const OpenDocument>(std::string(opened.text), opened.version);
  auto& place = documents_[std::string(opened.uri)];
  place = std::move(document);
  PublishDiagnostics(opened.uri, *place);
}

// The changes apply wholly or not at all: each is read before any applies,
// and the new version takes the old one's place only once it is analysed.
void Server::DidChange(const json& params) {
  const ChangedDocument changed = ReadChanged(params);
  const auto found = documents_.find(changed.uri);
  if (found == documents_.end()) throw InvalidParams("the document is not open");
  const OpenDocument& before = *found->second;
  auto document = std::make_unique<const OpenDocument>(
      Changed(before.text, changed.changes, encoding_), changed.version.value_or(before.version));
  found->second = std::move(document);
  PublishDiagnostics(changed.uri, *found->second);
}

void Server::DidClose(const json& params) {
  const std::string uri(DocumentUriOf(params));
  documents_.erase(uri);
  tokenResults_.erase(uri);
  Notify("textDocument/publishDiagnostics", {{"uri", uri}, {"diagnostics", json::array()}});
}

void Server::DidSave(const json& /*params*/) {}

json Server::Symbols(const json& params) {
  return OnDocument(params, json::array(),
                    [](const Snapshot& snapshot) { return DocumentSymbols(snapshot); });
}

json Server::HoverAt(const json& params) {
  const ClientPosition position = PositionOf(params);
  return OnDocument(params, nullptr, [&](const Snapshot& snapshot) {
    return Hover(snapshot, snapshot.FromClient(position));
  });
}

json Server::CompletionAt(const json& params) {
  const ClientPosition position = PositionOf(params);
  return OnDocument(params, json::array(), [&](const Snapshot& snapshot) {
    return Completion(snapshot, snapshot.FromClient(position));
  });
}

json Server::CodeActionsIn(const json& params) {
  const CodeActionQuery query = ReadCodeActionQuery(params);
  return OnDocument(params, json::array(), [&](const Snapshot& snapshot) {
    return CodeActions(snapshot, snapshot.FromClient(query.start).line,
                       snapshot.FromClient(query.end).line, query.only);
  });
}

json Server::DefinitionAt(const json& params) {
  const ClientPosition position = PositionOf(params);
  return OnDocument(params, nullptr, [&](const Snapshot& snapshot) {
    return Definition(snapshot, snapshot.FromClient(position));
  });
}

}  // namespace fxt::lsp
