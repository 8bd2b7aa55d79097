// A machine's transition tables compiled, at compile time, into one dense
// table: for each of its resting states (those whose table waits for an
// event) and each event, the row of the state's table that takes it. A
// dispatch is then one look-up instead of a scan of the table, and the
// machine does exactly what StateMachine::Dispatch does, in the same order.
//
// A resting state does nothing but return its table, whatever the signal:
// its exit and entry are not called. Every other state is called as the
// engine calls it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "fsm/state_machine.h"

namespace fxt {

struct RestingState {
  StateFn state;
  const Transition* table;
};

inline constexpr int NOT_RESTING = -1;

template <size_t kStates>
class DenseDispatch {
 public:
  explicit constexpr DenseDispatch(const std::array<RestingState, kStates>& resting)
      : resting_(resting) {
    for (size_t s = 0; s < kStates; ++s) {
      for (size_t event = 0; event < EVENTS; ++event) rows_[s][event] = NO_ROW;
      // The rows that a dispatch with qualifier 0 can match: those with
      // qualifier 0, up to the table's end. The first one for an event wins.
      const Transition* table = resting[s].table;
      for (int8_t row = 0; table[row].event != 0; ++row) {
        if (table[row].qualifier != 0) continue;
        for (size_t event = 0; event < EVENTS; ++event) {
          const bool takes = table[row].event == event || table[row].event == TRANSITION_ANY;
          if (!takes || rows_[s][event] != NO_ROW) continue;
          rows_[s][event] = row;
          const Target target = table[row].target;
          if (target.kind == Target::Kind::kState) entered_[s][event] = target.state;
        }
      }
    }
  }

  constexpr const std::array<RestingState, kStates>& Resting() const { return resting_; }

  // The resting state's place in the dense table, or NOT_RESTING.
  constexpr int IndexOf(StateFn state) const {
    for (size_t s = 0; s < kStates; ++s) {
      if (resting_[s].state == state) return static_cast<int>(s);
    }
    return NOT_RESTING;
  }

  // Where `running` rests: its state's index when it waits in a resting state
  // with that state's table, else NOT_RESTING.
  int RestingIndex(const StateMachine& running) const {
    const int index = IndexOf(running.state);
    if (index == NOT_RESTING || running.table != resting_[static_cast<size_t>(index)].table) {
      return NOT_RESTING;
    }
    return index;
  }

  // StateMachine::Dispatch(event, 0). `resting` is RestingIndex(running)
  // before, and after.
  bool Dispatch(StateMachine& running, int& resting, uint8_t event) const {
    if (resting == NOT_RESTING) return Generic(running, resting, event);
    const auto s = static_cast<size_t>(resting);
    const StateFn entered = entered_[s][event];
    if (entered == nullptr) {
      return rows_[s][event] == NO_ROW ? false : Generic(running, resting, event);
    }
    running.cursor = resting_[s].table + rows_[s][event];
    running.PushHistory(running.state);
    running.Enter(entered);
    RunCompletionChain(running, resting);
    return true;
  }

 private:
  static constexpr size_t EVENTS = 256;
  static constexpr int8_t NO_ROW = -1;

  bool Generic(StateMachine& running, int& resting, uint8_t event) const {
    const bool taken = running.Dispatch(event, 0);
    resting = RestingIndex(running);
    return taken;
  }

  // As the engine runs it; a resting state reached ends it without a call.
  // `resting` is where the dispatch began until the chain rests.
  void RunCompletionChain(StateMachine& running, int& resting) const {
    bool pushedInChain = false;
    while (running.table[0].event == 0 && running.table[0].target.IsSet()) {
      const Target target = running.table[0].target;
      running.state(SIG_EXIT);
      if (target.kind == Target::Kind::kReturn) {
        if (running.history[0] == nullptr) break;
        running.Enter(running.PopHistory());
        continue;
      }
      if (!pushedInChain) {
        running.PushHistory(running.state);
        pushedInChain = true;
      }
      // Most often the chain leads back where the dispatch began.
      const int next = resting_[static_cast<size_t>(resting)].state == target.state
                           ? resting
                           : IndexOf(target.state);
      if (next != NOT_RESTING) {
        running.state = target.state;
        running.table = resting_[static_cast<size_t>(next)].table;
        resting = next;
        return;
      }
      running.Enter(target.state);
    }
    resting = RestingIndex(running);
  }

  std::array<RestingState, kStates> resting_;
  std::array<std::array<int8_t, EVENTS>, kStates> rows_{};
  // The state that each row enters, when it enters one: looked up with the
  // row, so that the dispatch need not wait for the row before it calls it.
  std::array<std::array<StateFn, EVENTS>, kStates> entered_{};
};

}  // namespace fxt
