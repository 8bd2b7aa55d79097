// Reading values out of a fixture file's JSON, each checked for the kind the
// format gives it. The first value that is not as the format says is the
// problem the whole file is refused with, named by its JSON path.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fxt {

// Objects are sorted maps: a large one reads in n log n time. Where the
// file's own order matters, KeysInFileOrder gives it.
using Json = nlohmann::json;

class JsonChecks {
 public:
  // Notes the problem, unless one was noted before, and returns false.
  bool Fail(std::string_view path, std::string_view what);
  const std::string& Problem() const { return problem_; }

  // The member, or null when the object has none.
  static const Json* Find(const Json& object, std::string_view key);

  bool IsObject(const Json& value, std::string_view path);
  bool IsArray(const Json& value, std::string_view path, size_t fewest);
  // A text of one line, not empty.
  bool Text(const Json& value, std::string_view path, std::string& text);
  bool Number(const Json& value, std::string_view path, double& number);
  bool Unsigned(const Json& value, std::string_view path, uint64_t& number);
  bool Bool(const Json& value, std::string_view path, bool& flag);

  // The member as a text, if the object has it.
  bool OptionalText(const Json& object, std::string_view key, std::string_view path,
                    std::string& text);
  bool RequiredText(const Json& object, std::string_view key, std::string_view path,
                    std::string& text);
  bool OptionalBool(const Json& object, std::string_view key, std::string_view path, bool& flag);
  // A text, or an array of texts, as one list.
  bool OptionalTexts(const Json& object, std::string_view key, std::string_view path,
                     std::vector<std::string>& texts);
  // The value must be one of `choices`.
  bool OneOf(const std::string& value, std::string_view path,
             std::initializer_list<std::string_view> choices);

 private:
  std::string problem_;
};

}  // namespace fxt
