// libFuzzer target for the language server's message handler. An input that
// begins as a JSON object does is a session: a sequence of messages, one a
// line (see fuzz/lsp_session.h), which a custom mutator mutates field by
// field. Any other input is a template: its bytes go in as one message, then
// as the text of an open document on which every feature is asked for at
// places that the bytes choose. Nothing may crash, and every answer must be
// JSON.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "fuzz/lsp_session.h"
#include "lsp/server.h"
#include "tools/display_path.h"

namespace {

using nlohmann::json;

// Enough for every method to follow every other; more only costs time.
constexpr size_t MOST_MESSAGES = 64;

void Check(const std::vector<std::string>& answers) {
  for (const std::string& answer : answers) {
    if (json::parse(answer, nullptr, false).is_discarded()) std::abort();
  }
}

std::string Request(int id, const std::string& method, const json& params) {
  return json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}}.dump();
}

void RunSession(std::string_view input) {
  fxt::lsp::Server server;
  for (const std::string& message : fxt::fuzz::SessionMessages(input, MOST_MESSAGES)) {
    Check(server.Handle(message));
    if (server.ExitRequested()) return;
  }
}

void RunTemplate(const std::string& bytes) {
  fxt::lsp::Server server;
  Check(server.Handle(bytes));
  Check(server.Handle(Request(1, "initialize", {{"capabilities", json::object()}})));
  Check(server.Handle(bytes));
  // Invalid UTF-8 cannot travel in JSON: the text is read as Latin-1.
  const std::string text = fxt::Latin1ToUtf8(bytes);
  const std::string uri = "file:///fuzz.fxt";
  Check(server.Handle(
      json{{"jsonrpc", "2.0"},
           {"method", "textDocument/didOpen"},
           {"params", {{"textDocument", {{"uri", uri}, {"version", 1}, {"text", text}}}}}}
          .dump()));
  int id = 2;
  const size_t size = bytes.size();
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
  for (size_t i = 0; i < size && i < 6; ++i) {
    const json position = {{"line", byte(i) % 40}, {"character", byte(size - 1 - i) % 60}};
    const json params = {{"textDocument", {{"uri", uri}}}, {"position", position}};
    for (const char* method :
         {"textDocument/hover", "textDocument/completion", "textDocument/definition",
          "textDocument/references", "textDocument/prepareRename"}) {
      Check(server.Handle(Request(id++, method, params)));
    }
    json rename = params;
    rename["newName"] = fxt::Latin1ToUtf8(bytes.substr(i, byte(i) % 8));
    Check(server.Handle(Request(id++, "textDocument/rename", rename)));
  }
  const json lines = {{"start", {{"line", 0}, {"character", 0}}},
                      {"end", {{"line", size}, {"character", 0}}}};
  Check(server.Handle(Request(id++, "textDocument/inlayHint",
                              {{"textDocument", {{"uri", uri}}}, {"range", lines}})));
  Check(server.Handle(Request(id++, "workspace/symbol", {{"query", ""}})));
  Check(server.Handle(
      Request(id, "textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}})));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  if (fxt::fuzz::IsSession(bytes)) {
    RunSession(bytes);
  } else {
    RunTemplate(bytes);
  }
  return 0;
}

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int seed) {
  return fxt::fuzz::MutateSession(data, size, maxSize, seed);
}
