// What a load can tell an observer beside its diagnostics: each line as it
// reads it and the state the grammar rests in after it, and how the load
// ended. The lint rules and the language server follow a template this way,
// through the tester's own reading of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fsm/state_machine.h"
#include "reader/keywords.h"
#include "reader/report.h"

namespace fxt {

struct LineEvent {
  int32_t testerLine;
  SourcePosition position;
  std::string_view raw;         // the line's bytes as they stand in the file
  std::string_view normalised;  // as the reader left it: no blanks, lower case outside quotes
  std::string_view valueText;   // after the first '=', with its counted NUL
  std::string_view quotedText;  // between the value's first two quotes
  const Keyword* keyword;       // null when the line is empty or begins with none

  // The keyword's token; TOKEN_PLACEHOLDER, which no template uses, for none.
  TokenId Token() const { return keyword == nullptr ? TOKEN_PLACEHOLDER : keyword->id; }
};

enum class LoadEndReason : uint8_t {
  kInputEnd,       // every byte was read
  kInputEndByte,   // a 0xFF byte ended the input before the last byte
  kTemplateEnded,  // an end line closed the template; nothing after it was read
  kStopped,        // a fatal error or the error limit ended the load early
};

struct LoadEnd {
  LoadEndReason reason;
  SourcePosition position;  // where reading stopped
  size_t bytesRead;         // of the bytes handed to the load
};

class LoadObserver {
 public:
  virtual ~LoadObserver() = default;
  // Before the line's keyword is dispatched; `state` is where the grammar
  // rests.
  virtual void BeforeLine(const LineEvent& /*line*/, StateFn /*state*/) {}
  // After it, with the state the grammar rests in now.
  virtual void AfterLine(const LineEvent& /*line*/, StateFn /*state*/) {}
  virtual void End(const LoadEnd& /*end*/) {}
};

}  // namespace fxt
