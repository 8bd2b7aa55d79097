// A small engine for state machines written as functions over constant
// transition tables, with automatic (completion) transitions and a three-deep
// history of the states most recently left. It knows nothing of templates.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace fxt {

enum Signal : uint8_t {
  SIG_ENTRY = 1,
  SIG_ACTION = 2,
  SIG_EXIT = 3,
};

struct Transition;

// A state: given a signal, it acts and returns its transition table.
using StateFn = const Transition* (*)(Signal);

// Where a transition leads: nowhere (an internal transition, the state gets
// SIG_ACTION), back to the most recently left state, or into a state.
struct Target {
  enum class Kind : uint8_t { kInternal, kReturn, kState };
  Kind kind;
  StateFn state;

  constexpr bool IsSet() const { return kind != Kind::kInternal; }
};

inline constexpr Target TRANSITION_INTERNAL{Target::Kind::kInternal, nullptr};
inline constexpr Target TRANSITION_RETURN{Target::Kind::kReturn, nullptr};
constexpr Target To(StateFn state) { return {Target::Kind::kState, state}; }

inline constexpr uint8_t TRANSITION_ANY = 0xFF;

// One row of a table. A row with event 0 ends the table, except as the first
// row with a target: then the table is an automatic transition to it.
struct Transition {
  uint8_t event;
  uint8_t qualifier;
  Target target;
};

inline constexpr Transition kTableEnd{0, 0, TRANSITION_INTERNAL};

constexpr Transition Automatic(StateFn state) { return {0, 0, To(state)}; }

inline constexpr size_t HISTORY_DEPTH = 3;

struct StateMachine {
  const Transition* table = nullptr;
  const Transition* cursor = nullptr;
  StateFn state = nullptr;
  std::array<StateFn, HISTORY_DEPTH> history{};  // most recently left first

  explicit StateMachine(StateFn start) : state(start) {}

  // Empties the history and enters `start` without an exit of the old state.
  void Reset(StateFn start);
  // Empties the history; enters the current state if it has no table yet.
  void Start();
  // Offers one event; false when nothing took it.
  bool Dispatch(uint8_t event, uint8_t qualifier);

 private:
  template <size_t>
  friend class DenseDispatch;

  void ClearHistory() { history.fill(nullptr); }
  void PushHistory(StateFn left) {
    for (size_t i = HISTORY_DEPTH - 1; i > 0; --i) history[i] = history[i - 1];
    history[0] = left;
  }
  StateFn PopHistory() {
    StateFn recent = history[0];
    for (size_t i = 0; i < HISTORY_DEPTH - 1; ++i) history[i] = history[i + 1];
    history[HISTORY_DEPTH - 1] = nullptr;
    return recent;
  }
  bool FindMatch(uint8_t event, uint8_t qualifier);
  void Enter(StateFn next) {
    state = next;
    table = state(SIG_ENTRY);
  }
  void RunCompletionChain();
};

}  // namespace fxt
