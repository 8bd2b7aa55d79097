// What the states of every block share.
#pragma once

#include <cstdint>

#include "fsm/state_machine.h"
#include "grammar/attribute.h"
#include "grammar/header.h"
#include "grammar/parameter.h"
#include "model/fixture_template.h"
#include "reader/parse_context.h"
#include "reader/report.h"

namespace fxt {

// The automatic transitions into the states that more than one block leads
// to.
inline constexpr Transition kToFixture[] = {Automatic(StateFixture)};
inline constexpr Transition kToAttribute[] = {Automatic(StateAttribute)};
inline constexpr Transition kToParameter[] = {Automatic(StateParameter)};
inline constexpr Transition kToParameterBody[] = {Automatic(StateParameterBody)};
inline constexpr Transition kToTemplateEnd[] = {Automatic(StateTemplateEnd)};
inline constexpr Transition kToOutOfMemory[] = {Automatic(StateOutOfMemory)};

// The template being loaded. Every state after StateFixture runs only once
// StateFixture has made one, so it is there whenever they ask.
inline FixtureTemplate& LoadedTemplate() { return *CurrentTemplate(); }

// The usual shape of a state: act on entry, and lead on through one table
// whatever the signal.
inline const Transition* ActOnEntry(Signal signal, void (*action)(), const Transition* table) {
  if (signal == SIG_ENTRY) action();
  return table;
}

// Reports a fatal error; the load ends after the current line.
inline void EndLoad(DiagnosticId id) {
  ReportFatal(id);
  parseContext.stopFlag = 1;
}

// Values are stored in the template only while no error has been reported
// in this load, or always in a tolerant load; the checks and their messages
// go on regardless.
inline bool StoringValues() {
  return parseContext.errorCount == 0 || parseContext.mode == LoadMode::kTolerant;
}

// Raises a per-load counter; it stops at its limit instead of overflowing.
inline void RaiseCounter(int32_t& counter) {
  if (counter < INT32_MAX) ++counter;
}

// The first character of the value; '\0' when it is empty.
inline char FirstValueChar() {
  return parseContext.valueText.empty() ? '\0' : parseContext.valueText[0];
}

// The attribute that claimed DMX channel `channel`; 0 for a free channel or a
// number that is no channel.
inline uint8_t ChannelOwner(int channel) {
  const bool isChannel = channel >= 0 && channel <= DMX_CHANNEL_COUNT;
  return isChannel ? parseContext.channelOwners[static_cast<size_t>(channel)] : 0;
}

}  // namespace fxt
