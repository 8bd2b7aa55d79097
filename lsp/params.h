// The parameters of the client's messages, read and checked whole before the
// server acts on any of them: a message with one field of the wrong kind
// changes nothing.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "lsp/line_index.h"

namespace fxt::lsp {

using nlohmann::json;

// What is wrong with a message's parameters.
class InvalidParams : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The text of the parameters' fields stays in `params`: the readings hold
// views of it.
struct OpenedDocument {
  std::string_view uri;
  int64_t version = 0;
  std::string_view text;
};

struct TextChange {
  struct Span {
    ClientPosition start;
    ClientPosition end;
  };
  std::optional<Span> range;  // none: `text` is the whole new text
  std::string_view text;
};

struct ChangedDocument {
  std::string_view uri;
  std::optional<int64_t> version;
  std::vector<TextChange> changes;  // in the order they apply
};

// workspace/executeCommand's: the command and the first of its arguments,
// a document's address for each command this server offers.
struct ExecutedCommand {
  std::string_view command;
  std::string_view uri;
};

// textDocument/codeAction's: the range it asks for, and the kinds of action
// it is limited to (none: every kind).
struct CodeActionQuery {
  ClientPosition start;
  ClientPosition end;
  std::vector<std::string_view> only;
};

// Each throws InvalidParams when a field is missing or of the wrong kind.
std::string_view DocumentUriOf(const json& params);
ClientPosition PositionOf(const json& params);   // of the member "position"
TextChange::Span RangeOf(const json& params);    // of the member "range"
std::string_view NewNameOf(const json& params);  // a rename's
// A references request's context.includeDeclaration; false when not given.
bool IncludesDeclaration(const json& params);
OpenedDocument ReadOpened(const json& params);
ChangedDocument ReadChanged(const json& params);
ExecutedCommand ReadCommand(const json& params);
CodeActionQuery ReadCodeActionQuery(const json& params);

}  // namespace fxt::lsp
