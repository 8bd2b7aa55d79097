#include "import/json_checks.h"

#include <cmath>

#include "import/desk_text.h"
#include "import/json_path.h"

namespace fxt {
bool JsonChecks::Fail(std::string_view path, std::string_view what) {
  if (problem_.empty()) problem_ = std::string(path) + ": " + std::string(what);
  return false;
}

const Json* JsonChecks::Find(const Json& object, std::string_view key) {
  if (!object.is_object()) return nullptr;
  const auto found = object.find(key);
  return found == object.end() ? nullptr : &*found;
}

bool JsonChecks::IsObject(const Json& value, std::string_view path) {
  return value.is_object() || Fail(path, "an object is expected here");
}

bool JsonChecks::IsArray(const Json& value, std::string_view path, size_t fewest) {
  if (!value.is_array()) return Fail(path, "an array is expected here");
  if (value.size() < fewest) {
    return Fail(path, "the array needs at least " + std::to_string(fewest) + " entries");
  }
  return true;
}

bool JsonChecks::Text(const Json& value, std::string_view path, std::string& text) {
  if (!value.is_string()) return Fail(path, "a text is expected here");
  const auto& held = value.get_ref<const std::string&>();
  if (held.empty()) return Fail(path, "the text is empty");
  if (held.find('\n') != std::string::npos) return Fail(path, "the text holds a line end");
  text = held;
  return true;
}

bool JsonChecks::Number(const Json& value, std::string_view path, double& number) {
  if (!value.is_number()) return Fail(path, "a number is expected here");
  number = value.get<double>();
  return std::isfinite(number) || Fail(path, "the number is out of range");
}

bool JsonChecks::Unsigned(const Json& value, std::string_view path, uint64_t& number) {
  if (!value.is_number_integer()) return Fail(path, "a whole number is expected here");
  if (!value.is_number_unsigned()) return Fail(path, "the number must not be negative");
  number = value.get<uint64_t>();
  return true;
}

bool JsonChecks::Bool(const Json& value, std::string_view path, bool& flag) {
  if (!value.is_boolean()) return Fail(path, "true or false is expected here");
  flag = value.get<bool>();
  return true;
}

bool JsonChecks::OptionalText(const Json& object, std::string_view key, std::string_view path,
                              std::string& text) {
  const Json* member = Find(object, key);
  return member == nullptr || Text(*member, MemberPath(path, key), text);
}

bool JsonChecks::RequiredText(const Json& object, std::string_view key, std::string_view path,
                              std::string& text) {
  const Json* member = Find(object, key);
  if (member == nullptr) return Fail(path, Quoted(key) + " is missing");
  return Text(*member, MemberPath(path, key), text);
}

bool JsonChecks::OptionalBool(const Json& object, std::string_view key, std::string_view path,
                              bool& flag) {
  const Json* member = Find(object, key);
  return member == nullptr || Bool(*member, MemberPath(path, key), flag);
}

bool JsonChecks::OptionalTexts(const Json& object, std::string_view key, std::string_view path,
                               std::vector<std::string>& texts) {
  const Json* member = Find(object, key);
  if (member == nullptr) return true;
  const std::string memberPath = MemberPath(path, key);
  if (!member->is_array()) {
    std::string text;
    if (!Text(*member, memberPath, text)) return false;
    texts.push_back(text);
    return true;
  }
  if (!IsArray(*member, memberPath, 1)) return false;
  for (size_t i = 0; i < member->size(); ++i) {
    std::string text;
    if (!Text((*member)[i], IndexPath(memberPath, i), text)) return false;
    texts.push_back(text);
  }
  return true;
}

bool JsonChecks::OneOf(const std::string& value, std::string_view path,
                       std::initializer_list<std::string_view> choices) {
  for (const std::string_view choice : choices) {
    if (value == choice) return true;
  }
  std::string list;
  for (const std::string_view choice : choices) {
    list += (list.empty() ? "" : ", ") + Quoted(choice);
  }
  return Fail(path, Quoted(value) + " is none of " + list);
}

}  // namespace fxt
