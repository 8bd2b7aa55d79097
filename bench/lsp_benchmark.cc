// How long the language server's handler takes for one change to a 20 KB
// template, without any input or output: the analysis of the new text and
// the diagnostics to publish; then the same with what an editor asks after
// each change when every feature is on (the semantic tokens' delta, the
// folding ranges, the highlights at the cursor), and once more with every
// other change breaking a header line, so that the tolerant load goes on past
// an error. Prints the median and the 99th percentile of each.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "bench/generators.h"
#include "lsp/server.h"

namespace {

using nlohmann::json;
using Clock = std::chrono::steady_clock;

constexpr size_t kTemplateBytes = size_t{20} * 1024;
constexpr int kChanges = 2000;

std::string Message(const json& message) { return message.dump(); }

}  // namespace

int main() try {
  const std::string text = fxt::bench::RealisticTemplates(kTemplateBytes);
  const std::string uri = "file:///bench.fxt";
  fxt::lsp::Server server;
  server.Handle(Message({{"jsonrpc", "2.0"},
                         {"id", 1},
                         {"method", "initialize"},
                         {"params", {{"capabilities", json::object()}}}}));
  server.Handle(
      Message({{"jsonrpc", "2.0"},
               {"method", "textDocument/didOpen"},
               {"params", {{"textDocument", {{"uri", uri}, {"version", 1}, {"text", text}}}}}}));
  // Line 13 is "  channel = 1" of the first attribute: its digit is typed over.
  const json range = {{"start", {{"line", 12}, {"character", 12}}},
                      {"end", {{"line", 12}, {"character", 13}}}};
  const json document = {{"uri", uri}};
  const std::vector<std::string> asked = {
      Message({{"jsonrpc", "2.0"},
               {"id", 2},
               {"method", "textDocument/semanticTokens/full"},
               {"params", {{"textDocument", document}}}}),
      Message({{"jsonrpc", "2.0"},
               {"id", 3},
               {"method", "textDocument/foldingRange"},
               {"params", {{"textDocument", document}}}}),
      Message({{"jsonrpc", "2.0"},
               {"id", 4},
               {"method", "textDocument/documentHighlight"},
               {"params", {{"textDocument", document}, {"position", range["start"]}}}}),
  };
  // Line 5 is "version = 2.1": a letter typed over its first digit makes an
  // invalid version, an error that the rest of the template is read past.
  const json headerRange = {{"start", {{"line", 4}, {"character", 10}}},
                            {"end", {{"line", 4}, {"character", 11}}}};
  struct Scenario {
    const char* name;
    bool everyFeature;
    bool breaksHeader;
  };
  constexpr Scenario kScenarios[] = {
      {"", false, false},
      {" with every feature's requests", true, false},
      {" with every feature's requests, every other one an error on line 5", true, true},
  };
  std::string previousTokens = "1";
  int version = 2;
  for (const auto& [name, everyFeature, breaksHeader] : kScenarios) {
    std::vector<double> microseconds;
    server.Handle(asked[0]);  // the first tokens, whole, for the deltas to follow
    for (int n = 0; n < kChanges; ++n, ++version) {
      const std::string change = Message(
          {{"jsonrpc", "2.0"},
           {"method", "textDocument/didChange"},
           {"params",
            {{"textDocument", {{"uri", uri}, {"version", version}}},
             {"contentChanges",
              {breaksHeader ? json{{"range", headerRange}, {"text", version % 2 == 0 ? "x" : "2"}}
                            : json{{"range", range}, {"text", version % 2 == 0 ? "9" : "1"}}}}}}});
      const std::string delta =
          Message({{"jsonrpc", "2.0"},
                   {"id", 5},
                   {"method", "textDocument/semanticTokens/full/delta"},
                   {"params", {{"textDocument", document}, {"previousResultId", previousTokens}}}});
      const auto start = Clock::now();
      if (server.Handle(change).empty()) return 1;
      std::vector<std::string> tokens;
      if (everyFeature) {
        tokens = server.Handle(delta);
        for (size_t i = 1; i < asked.size(); ++i) server.Handle(asked[i]);
      }
      microseconds.push_back(
          std::chrono::duration<double, std::micro>(Clock::now() - start).count());
      if (everyFeature) {
        if (tokens.empty()) return 1;
        previousTokens = json::parse(tokens.front())["result"]["resultId"];
      }
    }
    std::sort(microseconds.begin(), microseconds.end());
    const auto at = [&](double share) {
      return microseconds[static_cast<size_t>(share *
                                              static_cast<double>(microseconds.size() - 1))];
    };
    std::printf("one change to a %zu-byte template%s, %d changes: median %.0f us, p99 %.0f us\n",
                text.size(), name, kChanges, at(0.5), at(0.99));
  }
  return 0;
} catch (const std::exception& error) {
  std::fprintf(stderr, "lsp_benchmark: %s\n", error.what());
  return 1;
}
