#include "tools/json_writer.h"

#include <cstdio>

namespace fxt {

namespace {

// Appends `bytes` escaped for a JSON string; bytes from 0x80 on are left to
// `highByte`.
template <typename HighByte>
std::string Quoted(std::string_view bytes, HighByte highByte) {
  std::string quoted = "\"";
  for (const char c : bytes) {
    const auto byte = static_cast<uint8_t>(c);
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\b':
        quoted += "\\b";
        break;
      case '\f':
        quoted += "\\f";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\t':
        quoted += "\\t";
        break;
      default:
        if (byte < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
          quoted += escaped;
        } else if (byte < 0x80) {
          quoted += c;
        } else {
          highByte(quoted, byte);
        }
    }
  }
  return quoted + "\"";
}

}  // namespace

std::string JsonQuoted(std::string_view bytes) {
  return Quoted(bytes, [](std::string& quoted, uint8_t byte) {  // Latin-1 to UTF-8
    quoted += static_cast<char>(0xC0 | (byte >> 6));
    quoted += static_cast<char>(0x80 | (byte & 0x3F));
  });
}

std::string JsonQuotedUtf8(std::string_view text) {
  return Quoted(text, [](std::string& quoted, uint8_t byte) { quoted += static_cast<char>(byte); });
}

void JsonWriter::NewLine() {
  text_ += '\n';
  text_.append(2 * scopes_.size(), ' ');
}

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (scopes_.empty()) return;
  Scope& scope = scopes_.back();
  if (!scope.empty) text_ += scope.layout == Layout::kInline ? ", " : ",";
  if (scope.layout == Layout::kBlock) NewLine();
  scope.empty = false;
}

void JsonWriter::Key(std::string_view name) {
  BeforeValue();
  text_ += JsonQuoted(name);
  text_ += ": ";
  afterKey_ = true;
}

void JsonWriter::BeginObject(Layout layout) {
  BeforeValue();
  text_ += '{';
  scopes_.push_back({layout, true});
}

void JsonWriter::BeginArray(Layout layout) {
  BeforeValue();
  text_ += '[';
  scopes_.push_back({layout, true});
}

void JsonWriter::Close(char bracket) {
  const Scope scope = scopes_.back();
  scopes_.pop_back();
  if (!scope.empty && scope.layout == Layout::kBlock) NewLine();
  text_ += bracket;
}

void JsonWriter::EndObject() { Close('}'); }
void JsonWriter::EndArray() { Close(']'); }

void JsonWriter::String(std::string_view bytes) {
  BeforeValue();
  text_ += JsonQuoted(bytes);
}

void JsonWriter::Utf8String(std::string_view text) {
  BeforeValue();
  text_ += JsonQuotedUtf8(text);
}

void JsonWriter::StringOrNull(const char* text) {
  if (text == nullptr) {
    Null();
  } else {
    String(text);
  }
}

void JsonWriter::Int(int64_t value) {
  BeforeValue();
  text_ += std::to_string(value);
}

void JsonWriter::Bool(bool value) {
  BeforeValue();
  text_ += value ? "true" : "false";
}

void JsonWriter::Null() {
  BeforeValue();
  text_ += "null";
}

}  // namespace fxt
