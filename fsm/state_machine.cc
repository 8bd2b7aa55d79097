#include "fsm/state_machine.h"

namespace fxt {
namespace {

bool IsAutomatic(const Transition* table) { return table[0].event == 0 && table[0].target.IsSet(); }

}  // namespace

void StateMachine::Reset(StateFn start) {
  ClearHistory();
  state = start;
  table = state(SIG_ENTRY);
}

void StateMachine::Start() {
  ClearHistory();
  if (table == nullptr) table = state(SIG_ENTRY);
}

bool StateMachine::FindMatch(uint8_t event, uint8_t qualifier) {
  for (cursor = table; cursor->event != 0; ++cursor) {
    const bool eventMatches = cursor->event == event || cursor->event == TRANSITION_ANY;
    const bool qualifierMatches = cursor->qualifier == qualifier || cursor->qualifier == 0;
    if (eventMatches && qualifierMatches) return true;
  }
  return false;
}

bool StateMachine::Dispatch(uint8_t event, uint8_t qualifier) {
  if (table == nullptr) Start();
  if (table[0].event == 0) return false;
  if (!FindMatch(event, qualifier)) return false;

  const Target target = cursor->target;
  if (target.kind == Target::Kind::kInternal) {
    table = state(SIG_ACTION);
  } else {
    state(SIG_EXIT);
    if (target.kind == Target::Kind::kReturn) {
      if (history[0] == nullptr) return false;
      Enter(PopHistory());
    } else {
      PushHistory(state);
      Enter(target.state);
    }
  }
  RunCompletionChain();
  return true;
}

// A chain of automatic transitions records only the state it left first.
void StateMachine::RunCompletionChain() {
  bool pushedInChain = false;
  while (IsAutomatic(table)) {
    const Target target = table[0].target;
    state(SIG_EXIT);
    if (target.kind == Target::Kind::kReturn) {
      if (history[0] == nullptr) return;
      Enter(PopHistory());
      continue;
    }
    if (!pushedInChain) {
      PushHistory(state);
      pushedInChain = true;
    }
    Enter(target.state);
  }
}

}  // namespace fxt
