#include "fuzz/lsp_session.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iterator>
#include <nlohmann/json.hpp>
#include <random>
#include <utility>

// libFuzzer's own mutation, with its dictionary.
extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace fxt::fuzz {
namespace {

using nlohmann::json;
using Random = std::minstd_rand;

constexpr std::string_view kNest = "\"@nest:";
constexpr std::string_view kLoneSurrogate = "@ud800@";
constexpr size_t MOST_NESTING = 200000;

// The values a field may take instead of its own: other kinds, numbers at
// and past the limits of 32 and 64 bits, nesting, and the texts the server
// must count with care.
const std::vector<json>& Shapes() {
  static const std::vector<json> kShapes = {
      "x",
      5,
      -1,
      0,
      2147483648U,
      4294967297U,
      18446744073709551615U,
      1e300,
      -1e300,
      1.5,
      nullptr,
      true,
      json::array(),
      json::object(),
      "@nest:511",
      "@nest:100000",
      "a@ud800@b",
      "\r",
      "a\rb\r\nc\nd",
      "\xE2\x82\xAC\xF0\x9F\x8E\xAD",
      {{"line", 2147483648U}, {"character", 1e300}},
      json::array({{{"text", "x"}}, {{"text", 5}}}),
  };
  return kShapes;
}

// Messages that a session may gain, of every method the server knows.
const std::vector<std::string_view>& Messages() {
  static const std::vector<std::string_view> kMessages = {
      R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}})",
      R"({"jsonrpc":"2.0","method":"initialized","params":{}})",
      R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":"file:///a.fxt","version":1,"text":"fixture\nname = \"A\"\r\nattribute\rchannel = 1\n"}}})",
      R"({"jsonrpc":"2.0","method":"textDocument/didChange","params":{"textDocument":{"uri":"file:///a.fxt","version":2},"contentChanges":[{"range":{"start":{"line":1,"character":0},"end":{"line":1,"character":4}},"text":"x"},{"text":"fixture\n"}]}})",
      R"({"jsonrpc":"2.0","method":"textDocument/didClose","params":{"textDocument":{"uri":"file:///a.fxt"}}})",
      R"({"jsonrpc":"2.0","id":2,"method":"textDocument/hover","params":{"textDocument":{"uri":"file:///a.fxt"},"position":{"line":1,"character":3}}})",
      R"({"jsonrpc":"2.0","id":3,"method":"textDocument/completion","params":{"textDocument":{"uri":"file:///a.fxt"},"position":{"line":3,"character":0}}})",
      R"({"jsonrpc":"2.0","id":4,"method":"textDocument/definition","params":{"textDocument":{"uri":"file:///a.fxt"},"position":{"line":2,"character":1}}})",
      R"({"jsonrpc":"2.0","id":5,"method":"textDocument/documentSymbol","params":{"textDocument":{"uri":"file:///a.fxt"}}})",
      R"({"jsonrpc":"2.0","id":7,"method":"textDocument/inlayHint","params":{"textDocument":{"uri":"file:///a.fxt"},"range":{"start":{"line":0,"character":0},"end":{"line":9,"character":0}}}})",
      R"({"jsonrpc":"2.0","id":8,"method":"textDocument/references","params":{"textDocument":{"uri":"file:///a.fxt"},"position":{"line":3,"character":10},"context":{"includeDeclaration":true}}})",
      R"({"jsonrpc":"2.0","id":9,"method":"textDocument/rename","params":{"textDocument":{"uri":"file:///a.fxt"},"position":{"line":3,"character":10},"newName":"2"}})",
      R"({"jsonrpc":"2.0","id":10,"method":"workspace/symbol","params":{"query":"a"}})",
      R"({"jsonrpc":"2.0","id":7,"method":"textDocument/formatting","params":{"textDocument":{"uri":"file:///a.fxt"},"options":{"tabSize":4,"insertSpaces":true}}})",
      R"({"jsonrpc":"2.0","id":8,"method":"textDocument/rangeFormatting","params":{"textDocument":{"uri":"file:///a.fxt"},"range":{"start":{"line":1,"character":0},"end":{"line":3,"character":0}},"options":{"tabSize":2}}})",
      R"({"jsonrpc":"2.0","id":9,"method":"textDocument/onTypeFormatting","params":{"textDocument":{"uri":"file:///a.fxt"},"position":{"line":3,"character":0},"ch":"\n","options":{"tabSize":2}}})",
      R"({"jsonrpc":"2.0","id":10,"method":"textDocument/foldingRange","params":{"textDocument":{"uri":"file:///a.fxt"}}})",
      R"({"jsonrpc":"2.0","id":11,"method":"textDocument/documentHighlight","params":{"textDocument":{"uri":"file:///a.fxt"},"position":{"line":3,"character":10}}})",
      R"({"jsonrpc":"2.0","id":12,"method":"textDocument/semanticTokens/full","params":{"textDocument":{"uri":"file:///a.fxt"}}})",
      R"({"jsonrpc":"2.0","id":13,"method":"textDocument/semanticTokens/full/delta","params":{"textDocument":{"uri":"file:///a.fxt"},"previousResultId":"1"}})",
      R"({"jsonrpc":"2.0","id":7,"method":"textDocument/codeAction","params":{"textDocument":{"uri":"file:///a.fxt"},"range":{"start":{"line":0,"character":0},"end":{"line":9,"character":0}},"context":{"diagnostics":[]}}})",
      R"({"jsonrpc":"2.0","id":6,"method":"shutdown"})",
      R"({"jsonrpc":"2.0","method":"exit"})",
  };
  return kMessages;
}

size_t Below(Random& random, size_t count) {
  return std::uniform_int_distribution<size_t>(0, count - 1)(random);
}

std::vector<std::string> Lines(std::string_view input) {
  std::vector<std::string> lines;
  while (!input.empty()) {
    const size_t end = std::min(input.find('\n'), input.size());
    lines.emplace_back(input.substr(0, end));
    input.remove_prefix(std::min(end + 1, input.size()));
  }
  return lines;
}

// Writes out "@nest:N" and "@ud800@", in one pass.
std::string Expanded(std::string_view line) {
  std::string out;
  while (!line.empty()) {
    if (line.starts_with(kLoneSurrogate)) {
      out += "\\ud800";
      line.remove_prefix(kLoneSurrogate.size());
      continue;
    }
    size_t levels = 0;
    const char* digits = line.data() + kNest.size();
    const char* end = line.data() + line.size();
    if (line.starts_with(kNest)) {
      const auto [after, error] = std::from_chars(digits, end, levels);
      if (error == std::errc() && after != end && *after == '"') {
        levels = std::min(levels, MOST_NESTING);
        out.append(levels, '[');
        out.append(levels, ']');
        line.remove_prefix(static_cast<size_t>(after + 1 - line.data()));
        continue;
      }
    }
    out += line.front();
    line.remove_prefix(1);
  }
  return out;
}

// A value of the message, with what holds it, for replacing or removing.
struct Field {
  json* value;
  json* holder;  // null for the message itself
  std::string key;
};

std::vector<Field> Fields(json& message) {
  std::vector<Field> fields{{&message, nullptr, {}}};
  for (size_t i = 0; i < fields.size(); ++i) {
    json& value = *fields[i].value;
    if (value.is_object()) {
      for (auto& [key, inner] : value.items()) fields.push_back({&inner, &value, key});
    } else if (value.is_array()) {
      for (json& inner : value) fields.push_back({&inner, &value, {}});
    }
  }
  return fields;
}

std::string MutatedString(const std::string& text, Random& random) {
  std::string bytes = text.empty() ? std::string("x") : text;
  const size_t size = bytes.size();
  bytes.resize(size + 16 + Below(random, 64));
  bytes.resize(LLVMFuzzerMutate(reinterpret_cast<uint8_t*>(bytes.data()), size, bytes.size()));
  return bytes;
}

// One field of the message takes another value, or goes.
bool MutateField(std::string& line, Random& random) {
  json message = json::parse(line, nullptr, false);
  if (message.is_discarded()) return false;
  std::vector<Field> fields = Fields(message);
  // Most often a value that is no object or array: the fields the server reads.
  std::vector<Field> leaves;
  std::copy_if(fields.begin(), fields.end(), std::back_inserter(leaves),
               [](const Field& field) { return !field.value->is_structured(); });
  if (!leaves.empty() && Below(random, 4) != 0) fields = std::move(leaves);
  const Field& field = fields[Below(random, fields.size())];
  switch (Below(random, 4)) {
    case 0:
      if (field.holder != nullptr && field.holder->is_object()) {
        field.holder->erase(field.key);
        break;
      }
      [[fallthrough]];
    case 1:
      if (field.value->is_string()) {
        *field.value = MutatedString(field.value->get<std::string>(), random);
        break;
      }
      [[fallthrough]];
    default:
      *field.value = Shapes()[Below(random, Shapes().size())];
  }
  line = message.dump(-1, ' ', false, json::error_handler_t::replace);
  return true;
}

void MutateLines(std::vector<std::string>& lines, Random& random) {
  const size_t at = Below(random, lines.size());
  switch (Below(random, 4)) {
    case 0:
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), lines[at]);
      break;
    case 1:
      if (lines.size() > 1) lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
      break;
    case 2:
      std::swap(lines[at], lines[Below(random, lines.size())]);
      break;
    default:
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at),
                   std::string(Messages()[Below(random, Messages().size())]));
  }
}

}  // namespace

bool IsSession(std::string_view input) { return input.starts_with('{'); }

std::vector<std::string> SessionMessages(std::string_view input, size_t most) {
  std::vector<std::string> messages;
  for (const std::string& line : Lines(input)) {
    if (messages.size() == most) break;
    messages.push_back(Expanded(line));
  }
  return messages;
}

size_t MutateSession(uint8_t* data, size_t size, size_t maxSize, unsigned seed) {
  Random random(seed);
  const size_t choice = Below(random, 8);
  if (!IsSession(std::string_view(reinterpret_cast<const char*>(data), size)) || choice < 3) {
    return LLVMFuzzerMutate(data, size, maxSize);
  }
  std::vector<std::string> lines =
      Lines(std::string_view(reinterpret_cast<const char*>(data), size));
  if (choice < 7) {
    if (!MutateField(lines[Below(random, lines.size())], random)) {
      return LLVMFuzzerMutate(data, size, maxSize);
    }
  } else {
    MutateLines(lines, random);
  }
  std::string mutated;
  for (const std::string& line : lines) mutated += line + "\n";
  if (mutated.size() > maxSize) return LLVMFuzzerMutate(data, size, maxSize);
  std::memcpy(data, mutated.data(), mutated.size());
  return mutated.size();
}

}  // namespace fxt::fuzz
