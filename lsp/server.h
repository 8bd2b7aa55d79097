// The language server without its input and output: one message in, the
// messages to send out. A dispatch table leads each method to its handler;
// the open documents are kept with their analysis.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lsp/analysis.h"
#include "lsp/chart_pages.h"
#include "lsp/features.h"
#include "lsp/line_index.h"
#include "lsp/params.h"
#include "lsp/semantic_tokens.h"

namespace fxt::lsp {

using nlohmann::json;

// One version of an open document, analysed. It stays where it was made:
// its line index views its text.
struct OpenDocument {
  OpenDocument(std::string documentText, int64_t documentVersion);
  OpenDocument(const OpenDocument&) = delete;
  OpenDocument& operator=(const OpenDocument&) = delete;

  const std::string text;
  const int64_t version;
  const LineIndex lines;
  const Analysis analysis;
};

// What the server may do with its connection while it works on one message:
// send a message at once, and read one that is already waiting.
class Connection {
 public:
  virtual ~Connection() = default;
  virtual void Send(const std::string& body) = 0;
  // The next message when one waits to be read; none, at once, otherwise.
  virtual std::optional<std::string> Waiting() = 0;
};

class Server {
 public:
  // Handles one message body, and the messages read while it was handled;
  // returns the bodies still to send, in order.
  std::vector<std::string> Handle(std::string_view body);
  // Without a connection, a long request reports its progress only when it
  // ends, and cannot be cancelled.
  void Attach(Connection* connection) { connection_ = connection; }
  // The error to send for a message too large for the memory at hand.
  std::string OutOfMemoryError();

  bool ExitRequested() const { return exitRequested_; }
  // 0 after a shutdown request, 1 without one.
  int ExitStatus() const { return phase_ == Phase::kShutDown ? 0 : 1; }

 private:
  enum class Phase { kWaiting, kRunning, kShutDown };
  using Request = json (Server::*)(const json& params);
  using Notification = void (Server::*)(const json& params);
  // What is known of the message in hand, should memory run out.
  struct InHand {
    std::optional<json> id;  // a request's
    std::string method;
  };

  Phase phase_ = Phase::kWaiting;
  bool exitRequested_ = false;
  Encoding encoding_ = Encoding::kUtf16;
  bool clientShowsDocuments_ = false;   // window/showDocument
  bool clientCreatesProgress_ = false;  // window/workDoneProgress/create
  std::vector<std::string> workspaceFolders_;
  Connection* connection_ = nullptr;
  json requestInHand_;                // the id of the request being handled
  std::deque<std::string> deferred_;  // read while a request was handled
  int64_t requestsSent_ = 0;
  // Each version is made whole before it takes the place of the one before.
  std::map<std::string, std::unique_ptr<const OpenDocument>, std::less<>> documents_;
  std::vector<std::string> outgoing_;
  ChartPages chartPages_;  // removed with the server, whichever way it ends
  // The last semantic tokens sent for each open document, for a delta.
  std::map<std::string, TokenResult, std::less<>> tokenResults_;
  int64_t tokenResultsMade_ = 0;

  static const std::map<std::string_view, Request>& Requests();
  static const std::map<std::string_view, Notification>& Notifications();

  void HandleOne(std::string_view body);
  void Dispatch(std::string_view body, InHand& inHand);
  void HandleRequest(const json& id, const std::string& method, const json& params);
  void HandleNotification(const std::string& method, const json& params);
  void Respond(const json& id, json result);
  void RespondError(const json& id, int code, const std::string& message);
  void Notify(const std::string& method, json params);
  void Log(int type, const std::string& message);
  void OutOfMemory(const InHand& inHand);

  json Initialize(const json& params);
  json Shutdown(const json& params);
  json Symbols(const json& params);
  json HoverAt(const json& params);
  json CompletionAt(const json& params);
  json DefinitionAt(const json& params);
  json CodeActionsIn(const json& params);
  json Chart(const json& params);            // in chart.cc
  json ExecuteCommand(const json& params);   // in chart.cc
  json InlayHintsIn(const json& params);     // in navigation_requests.cc
  json ReferencesAt(const json& params);     // in navigation_requests.cc
  json PrepareRenameAt(const json& params);  // in navigation_requests.cc
  json RenameAt(const json& params);         // in navigation_requests.cc
  // In workspace_symbols.cc:
  json WorkspaceSymbols(const json& params);
  void DidChangeWorkspaceFolders(const json& params);
  std::optional<json> BeginProgress(const json& params, const std::string& title);
  void Progress(const std::optional<json>& token, json value);
  bool CancelArrived();
  void Flush();
  json Format(const json& params);        // in formatting.cc
  json FormatRange(const json& params);   // in formatting.cc
  json FormatOnType(const json& params);  // in formatting.cc
  json Folding(const json& params);       // in folding.cc
  json Highlight(const json& params);     // in highlight.cc
  json TokensFull(const json& params);    // in semantic_tokens.cc
  json TokensDelta(const json& params);   // in semantic_tokens.cc
  void Initialized(const json& params);
  void Exit(const json& params);
  void DidOpen(const json& params);
  void DidChange(const json& params);
  void DidClose(const json& params);
  void DidSave(const json& params);

  const OpenDocument* DocumentOf(const json& params) const;
  // A feature's answer for the document that the request names, or `none`
  // when that document is not open.
  template <typename Feature>
  json OnDocument(const json& params, json none, Feature feature) {
    const OpenDocument* document = DocumentOf(params);
    if (document == nullptr) return none;
    const std::string uri(DocumentUriOf(params));
    return feature(Snapshot(uri, document->analysis, document->lines, encoding_));
  }
  void PublishDiagnostics(std::string_view uri, const OpenDocument& document);
};

}  // namespace fxt::lsp
