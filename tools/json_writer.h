// A small JSON writer: objects, arrays, strings, integers and null, laid out
// either one member per line or inline.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fxt {

class JsonWriter {
 public:
  enum class Layout { kBlock, kInline };

  void BeginObject(Layout layout = Layout::kBlock);
  void EndObject();
  void BeginArray(Layout layout = Layout::kBlock);
  void EndArray();
  // The name of the next member of the object being written.
  void Key(std::string_view name);
  // Each byte is one character U+0000 to U+00FF, written as UTF-8.
  void String(std::string_view bytes);
  // Text that is UTF-8 already.
  void Utf8String(std::string_view text);
  // A C string, or null for a null pointer.
  void StringOrNull(const char* text);
  void Int(int64_t value);
  void Bool(bool value);
  void Null();

  // A member of the object being written: its name and its value.
  void IntMember(std::string_view name, int64_t value) {
    Key(name);
    Int(value);
  }
  void StringMember(std::string_view name, std::string_view bytes) {
    Key(name);
    String(bytes);
  }
  void StringOrNullMember(std::string_view name, const char* text) {
    Key(name);
    StringOrNull(text);
  }
  void Utf8StringMember(std::string_view name, std::string_view text) {
    Key(name);
    Utf8String(text);
  }

  const std::string& text() const { return text_; }

 private:
  struct Scope {
    Layout layout;
    bool empty;
  };
  void BeforeValue();
  void Close(char bracket);
  void NewLine();

  std::string text_;
  std::vector<Scope> scopes_;
  bool afterKey_ = false;
};

// `bytes` as a JSON string literal, quotes included; each byte is one
// character U+0000 to U+00FF.
std::string JsonQuoted(std::string_view bytes);
// UTF-8 text as a JSON string literal, quotes included.
std::string JsonQuotedUtf8(std::string_view text);

}  // namespace fxt
