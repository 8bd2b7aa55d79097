#include "lsp/server.h"

#include <algorithm>

#include "lsp/features.h"

namespace fxt::lsp {
namespace {

// The protocol's error codes.
constexpr int PARSE_ERROR = -32700;
constexpr int INVALID_REQUEST = -32600;
constexpr int METHOD_NOT_FOUND = -32601;
constexpr int INVALID_PARAMS = -32602;
constexpr int SERVER_NOT_INITIALIZED = -32002;

constexpr int SYNC_INCREMENTAL = 2;

bool OffersUtf8(const json& params) {
  const json* encodings = nullptr;
  if (params.contains("capabilities") && params["capabilities"].contains("general")) {
    const json& general = params["capabilities"]["general"];
    if (general.contains("positionEncodings")) encodings = &general["positionEncodings"];
  }
  if (encodings == nullptr || !encodings->is_array()) return false;
  return std::ranges::any_of(*encodings, [](const json& name) { return name == "utf-8"; });
}

const std::string& UriOf(const json& params) {
  return params.at("textDocument").at("uri").get_ref<const std::string&>();
}

}  // namespace

const std::map<std::string_view, Server::Request>& Server::Requests() {
  static const std::map<std::string_view, Request> kRequests = {
      {"initialize", &Server::Initialize},
      {"shutdown", &Server::Shutdown},
      {"textDocument/documentSymbol", &Server::Symbols},
      {"textDocument/hover", &Server::HoverAt},
      {"textDocument/completion", &Server::CompletionAt},
      {"textDocument/definition", &Server::DefinitionAt},
  };
  return kRequests;
}

const std::map<std::string_view, Server::Notification>& Server::Notifications() {
  static const std::map<std::string_view, Notification> kNotifications = {
      {"initialized", &Server::Initialized},        {"exit", &Server::Exit},
      {"textDocument/didOpen", &Server::DidOpen},   {"textDocument/didChange", &Server::DidChange},
      {"textDocument/didClose", &Server::DidClose}, {"textDocument/didSave", &Server::DidSave},
  };
  return kNotifications;
}

std::vector<std::string> Server::Handle(std::string_view body) {
  outgoing_.clear();
  const json message = json::parse(body, nullptr, false);
  if (message.is_discarded()) {
    RespondError(nullptr, PARSE_ERROR, "the message is no JSON");
    return std::move(outgoing_);
  }
  const bool request = message.is_object() && message.contains("id");
  if (!message.is_object() || !message.contains("method") || !message["method"].is_string()) {
    // A response to a request of ours: the server sends none, so none is awaited.
    if (!(request && (message.contains("result") || message.contains("error")))) {
      RespondError(request ? message["id"] : json(nullptr), INVALID_REQUEST,
                   "a request needs a method");
    }
    return std::move(outgoing_);
  }
  const std::string method = message["method"];
  const json params = message.value("params", json::object());
  if (request) {
    HandleRequest(message["id"], method, params);
  } else {
    HandleNotification(method, params);
  }
  return std::move(outgoing_);
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
  try {
    Respond(id, (this->*handler->second)(params));
  } catch (const json::exception& error) {
    RespondError(id, INVALID_PARAMS, error.what());
  }
}

// Notifications before initialize are dropped, but exit; so are unknown
// ones, and those beginning "$/", and any whose parameters are wrong.
void Server::HandleNotification(const std::string& method, const json& params) {
  if (phase_ == Phase::kWaiting && method != "exit") return;
  const auto handler = Notifications().find(method);
  if (handler == Notifications().end()) return;
  try {
    (this->*handler->second)(params);
  } catch (const json::exception&) {
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

json Server::Initialize(const json& params) {
  phase_ = Phase::kRunning;
  encoding_ = OffersUtf8(params) ? Encoding::kUtf8 : Encoding::kUtf16;
  return {
      {"capabilities",
       {{"positionEncoding", encoding_ == Encoding::kUtf8 ? "utf-8" : "utf-16"},
        {"textDocumentSync", {{"openClose", true}, {"change", SYNC_INCREMENTAL}, {"save", true}}},
        {"documentSymbolProvider", true},
        {"hoverProvider", true},
        {"completionProvider", {{"triggerCharacters", {"\""}}}},
        {"definitionProvider", true}}},
      {"serverInfo", {{"name", "fxt-language-server"}, {"version", FXT_VERSION}}}};
}

json Server::Shutdown(const json& /*params*/) {
  phase_ = Phase::kShutDown;
  return nullptr;
}

void Server::Initialized(const json& /*params*/) {}

void Server::Exit(const json& /*params*/) { exitRequested_ = true; }

OpenDocument* Server::DocumentOf(const json& params) {
  const auto found = documents_.find(UriOf(params));
  return found == documents_.end() ? nullptr : &found->second;
}

void Server::Analyse(const std::string& uri, OpenDocument& document) {
  document.lines = std::make_unique<LineIndex>(document.text);
  document.analysis = lsp::Analyse(document.text);
  PublishDiagnostics(uri, document);
}

void Server::PublishDiagnostics(const std::string& uri, const OpenDocument& document) {
  const Snapshot snapshot(uri, document.analysis, *document.lines, encoding_);
  Notify("textDocument/publishDiagnostics",
         {{"uri", uri}, {"version", document.version}, {"diagnostics", Diagnostics(snapshot)}});
}

void Server::DidOpen(const json& params) {
  const json& item = params.at("textDocument");
  const std::string uri = item.at("uri");
  OpenDocument& document = documents_[uri];
  document.text = item.at("text");
  document.version = item.value("version", int64_t{0});
  Analyse(uri, document);
}

// Each change is a whole new text, or a range of the text as it stands
// after the changes before it.
void Server::DidChange(const json& params) {
  const std::string& uri = UriOf(params);
  OpenDocument* document = DocumentOf(params);
  if (document == nullptr) return;
  for (const json& change : params.at("contentChanges")) {
    const std::string& text = change.at("text").get_ref<const std::string&>();
    if (!change.contains("range")) {
      document->text = text;
      continue;
    }
    const LineIndex lines(document->text);
    const json& range = change["range"];
    const auto offset = [&](const json& position) {
      return lines.OffsetOf(position.at("line"), position.at("character"), encoding_);
    };
    const size_t begin = offset(range.at("start"));
    const size_t end = std::max(begin, offset(range.at("end")));
    document->text.replace(begin, end - begin, text);
  }
  document->version = params.at("textDocument").value("version", document->version);
  Analyse(uri, *document);
}

void Server::DidClose(const json& params) {
  const std::string& uri = UriOf(params);
  documents_.erase(uri);
  Notify("textDocument/publishDiagnostics", {{"uri", uri}, {"diagnostics", json::array()}});
}

void Server::DidSave(const json& /*params*/) {}

// A feature's answer for the document that the request names, or `none`
// when that document is not open.
template <typename Feature>
json Server::OnDocument(const json& params, json none, Feature feature) {
  OpenDocument* document = DocumentOf(params);
  if (document == nullptr) return none;
  const Snapshot snapshot(UriOf(params), document->analysis, *document->lines, encoding_);
  return feature(snapshot);
}

json Server::Symbols(const json& params) {
  return OnDocument(params, json::array(),
                    [](const Snapshot& snapshot) { return DocumentSymbols(snapshot); });
}

json Server::HoverAt(const json& params) {
  return OnDocument(params, nullptr, [&](const Snapshot& snapshot) {
    return Hover(snapshot, snapshot.FromProtocol(params.at("position")));
  });
}

json Server::CompletionAt(const json& params) {
  return OnDocument(params, json::array(), [&](const Snapshot& snapshot) {
    return Completion(snapshot, snapshot.FromProtocol(params.at("position")));
  });
}

json Server::DefinitionAt(const json& params) {
  return OnDocument(params, nullptr, [&](const Snapshot& snapshot) {
    return Definition(snapshot, snapshot.FromProtocol(params.at("position")));
  });
}

}  // namespace fxt::lsp
