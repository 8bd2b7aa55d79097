// How long the language server's handler takes for one change to a 20 KB
// template, without any input or output: the analysis of the new text and
// the diagnostics to publish. Prints the median and the 99th percentile.
#include <algorithm>
#include <exception>
#include <chrono>
#include <cstdio>
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
  std::vector<double> microseconds;
  for (int version = 2; version < 2 + kChanges; ++version) {
    const json range = {{"start", {{"line", 12}, {"character", 12}}},
                        {"end", {{"line", 12}, {"character", 13}}}};
    const std::string change = Message(
        {{"jsonrpc", "2.0"},
         {"method", "textDocument/didChange"},
         {"params",
          {{"textDocument", {{"uri", uri}, {"version", version}}},
           {"contentChanges", {{{"range", range}, {"text", version % 2 == 0 ? "9" : "1"}}}}}}});
    const auto start = Clock::now();
    const std::vector<std::string> out = server.Handle(change);
    microseconds.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    if (out.empty()) return 1;
  }
  std::sort(microseconds.begin(), microseconds.end());
  const auto at = [&](double share) {
    return microseconds[static_cast<size_t>(share * static_cast<double>(microseconds.size() - 1))];
  };
  std::printf("one change to a %zu-byte template, %d changes: median %.0f us, p99 %.0f us\n",
              text.size(), kChanges, at(0.5), at(0.99));
  return 0;
} catch (const std::exception& error) {
  std::fprintf(stderr, "lsp_benchmark: %s\n", error.what());
  return 1;
}
