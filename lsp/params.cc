#include "lsp/params.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace fxt::lsp {
namespace {

const json& Member(const json& object, const char* name) {
  if (!object.is_object()) throw InvalidParams(std::string("no object holds ") + name);
  const auto found = object.find(name);
  if (found == object.end()) throw InvalidParams(std::string("no ") + name);
  return *found;
}

const json& ObjectMember(const json& object, const char* name) {
  const json& value = Member(object, name);
  if (!value.is_object()) throw InvalidParams(std::string(name) + " is no object");
  return value;
}

std::string_view StringMember(const json& object, const char* name) {
  const json& value = Member(object, name);
  if (!value.is_string()) throw InvalidParams(std::string(name) + " is no string");
  return value.get_ref<const std::string&>();
}

std::optional<int64_t> VersionMember(const json& object) {
  const auto found = object.find("version");
  if (found == object.end() || found->is_null()) return std::nullopt;
  if (!found->is_number_integer() ||
      (found->is_number_unsigned() &&
       found->get<uint64_t>() > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))) {
    throw InvalidParams("version is no integer");
  }
  return found->get<int64_t>();
}

// A line or a character count: a count past the end of the text, however
// large, stands at the end; a negative one at the start.
size_t CountMember(const json& object, const char* name) {
  const json& value = Member(object, name);
  if (value.is_number_unsigned()) {
    const auto count = value.get<uint64_t>();
    return count > std::numeric_limits<size_t>::max() ? std::numeric_limits<size_t>::max()
                                                      : static_cast<size_t>(count);
  }
  if (value.is_number_integer())
    return static_cast<size_t>(std::max<int64_t>(value.get<int64_t>(), 0));
  if (value.is_number_float()) {
    constexpr double kLargest = 9e18;  // below 2^63: any smaller number converts
    const auto number = value.get<double>();
    if (!(number > 0)) return 0;
    return number >= kLargest ? std::numeric_limits<size_t>::max() : static_cast<size_t>(number);
  }
  throw InvalidParams(std::string(name) + " is no number");
}

ClientPosition ReadPosition(const json& position) {
  if (!position.is_object()) throw InvalidParams("a position is no object");
  return {CountMember(position, "line"), CountMember(position, "character")};
}

TextChange ReadChange(const json& change) {
  if (!change.is_object()) throw InvalidParams("a change is no object");
  TextChange read;
  read.text = StringMember(change, "text");
  const auto range = change.find("range");
  if (range == change.end() || range->is_null()) return read;
  if (!range->is_object()) throw InvalidParams("range is no object");
  read.range =
      TextChange::Span{ReadPosition(Member(*range, "start")), ReadPosition(Member(*range, "end"))};
  return read;
}

}  // namespace

std::string_view DocumentUriOf(const json& params) {
  return StringMember(ObjectMember(params, "textDocument"), "uri");
}

ClientPosition PositionOf(const json& params) { return ReadPosition(Member(params, "position")); }

TextChange::Span RangeOf(const json& params) {
  const json& range = ObjectMember(params, "range");
  return {ReadPosition(Member(range, "start")), ReadPosition(Member(range, "end"))};
}

std::string_view NewNameOf(const json& params) { return StringMember(params, "newName"); }

bool IncludesDeclaration(const json& params) {
  const auto context = params.find("context");
  if (context == params.end() || !context->is_object()) return false;
  return context->value("includeDeclaration", false);
}

OpenedDocument ReadOpened(const json& params) {
  const json& item = ObjectMember(params, "textDocument");
  return {StringMember(item, "uri"), VersionMember(item).value_or(0), StringMember(item, "text")};
}

ChangedDocument ReadChanged(const json& params) {
  const json& identifier = ObjectMember(params, "textDocument");
  ChangedDocument read{StringMember(identifier, "uri"), VersionMember(identifier), {}};
  const json& changes = Member(params, "contentChanges");
  if (!changes.is_array()) throw InvalidParams("contentChanges is no array");
  read.changes.reserve(changes.size());
  for (const json& change : changes) read.changes.push_back(ReadChange(change));
  return read;
}

ExecutedCommand ReadCommand(const json& params) {
  const std::string_view command = StringMember(params, "command");
  const json& arguments = Member(params, "arguments");
  if (!arguments.is_array() || arguments.empty() || !arguments.front().is_string()) {
    throw InvalidParams("arguments hold no document address");
  }
  return {command, arguments.front().get_ref<const std::string&>()};
}

CodeActionQuery ReadCodeActionQuery(const json& params) {
  const json& range = ObjectMember(params, "range");
  CodeActionQuery query{
      ReadPosition(Member(range, "start")), ReadPosition(Member(range, "end")), {}};
  const json& context = ObjectMember(params, "context");
  const auto only = context.find("only");
  if (only == context.end() || only->is_null()) return query;
  if (!only->is_array()) throw InvalidParams("only is no array");
  for (const json& kind : *only) {
    if (!kind.is_string()) throw InvalidParams("a kind is no string");
    query.only.push_back(kind.get_ref<const std::string&>());
  }
  return query;
}

}  // namespace fxt::lsp
