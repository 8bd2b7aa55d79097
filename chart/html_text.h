// Building an HTML page as one string: markup as it is, text escaped for
// the page (which is XML as well as HTML), and numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/pool_memory.h"

namespace fxt::chart {

class Html {
 public:
  // Markup, written as it is.
  Html& operator<<(std::string_view markup) {
    page_ += markup;
    return *this;
  }
  Html& operator<<(char markup) {
    page_ += markup;
    return *this;
  }
  Html& operator<<(int64_t number);
  Html& operator<<(int32_t number) { return *this << static_cast<int64_t>(number); }
  Html& operator<<(size_t number) { return *this << static_cast<int64_t>(number); }

  // A template's bytes, each one character U+0000 to U+00FF, as text
  // (never as an attribute's value): escaped, a control character shown as
  // \xNN.
  Html& Text(std::string_view bytes);
  // Text of our own, in UTF-8, escaped.
  Html& Utf8(std::string_view text);

  const std::string& Page() const { return page_; }
  std::string TakePage() { return std::move(page_); }
  // A large page's room lies on large pages, where the system has them.
  void Reserve(size_t bytes) {
    page_.reserve(bytes);
    AdviseLargePages(page_.data(), page_.capacity());
  }

 private:
  std::string page_;
};

}  // namespace fxt::chart
