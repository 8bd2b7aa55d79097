// The language server without its input and output: one message in, the
// messages to send out. A dispatch table leads each method to its handler;
// the open documents are kept with their analysis.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "lsp/analysis.h"
#include "lsp/line_index.h"

namespace fxt::lsp {

using nlohmann::json;

struct OpenDocument {
  std::string text;
  int64_t version = 0;
  Analysis analysis;
  std::unique_ptr<LineIndex> lines;  // of `text`
};

class Server {
 public:
  // Handles one message body; returns the bodies to send, in order.
  std::vector<std::string> Handle(std::string_view body);

  bool ExitRequested() const { return exitRequested_; }
  // 0 after a shutdown request, 1 without one.
  int ExitStatus() const { return phase_ == Phase::kShutDown ? 0 : 1; }

 private:
  enum class Phase { kWaiting, kRunning, kShutDown };
  using Request = json (Server::*)(const json& params);
  using Notification = void (Server::*)(const json& params);

  Phase phase_ = Phase::kWaiting;
  bool exitRequested_ = false;
  Encoding encoding_ = Encoding::kUtf16;
  std::map<std::string, OpenDocument, std::less<>> documents_;
  std::vector<std::string> outgoing_;

  static const std::map<std::string_view, Request>& Requests();
  static const std::map<std::string_view, Notification>& Notifications();

  void HandleRequest(const json& id, const std::string& method, const json& params);
  void HandleNotification(const std::string& method, const json& params);
  void Respond(const json& id, json result);
  void RespondError(const json& id, int code, const std::string& message);
  void Notify(const std::string& method, json params);

  json Initialize(const json& params);
  json Shutdown(const json& params);
  json Symbols(const json& params);
  json HoverAt(const json& params);
  json CompletionAt(const json& params);
  json DefinitionAt(const json& params);
  void Initialized(const json& params);
  void Exit(const json& params);
  void DidOpen(const json& params);
  void DidChange(const json& params);
  void DidClose(const json& params);
  void DidSave(const json& params);

  OpenDocument* DocumentOf(const json& params);
  template <typename Feature>
  json OnDocument(const json& params, json none, Feature feature);
  void Analyse(const std::string& uri, OpenDocument& document);
  void PublishDiagnostics(const std::string& uri, const OpenDocument& document);
};

}  // namespace fxt::lsp
