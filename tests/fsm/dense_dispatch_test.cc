#include "fsm/dense_dispatch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "recorded_signals.h"

namespace fxt {
namespace {

using testing::calls;
using testing::Record;

// A machine with two resting states, which only return their tables, and
// states that act: they record each signal they get, lead on automatically,
// return, or wait.
const Transition* RestOne(Signal);
const Transition* RestTwo(Signal);
const Transition* Hop(Signal);
const Transition* Chain(Signal);
const Transition* Back(Signal);
const Transition* Wait(Signal);

constexpr Transition kRestOne[] = {
    {1, 0, To(Hop)},           {2, 0, To(Chain)},           {3, 5, To(Wait)}, {3, 0, To(RestTwo)},
    {4, 0, TRANSITION_RETURN}, {5, 0, TRANSITION_INTERNAL}, {6, 0, To(Back)}, kTableEnd,
};
constexpr Transition kRestTwo[] = {
    {2, 0, To(Hop)},
    {7, 0, To(Wait)},
    {TRANSITION_ANY, 0, To(RestOne)},
    kTableEnd,
};
constexpr Transition kToRestTwo[] = {Automatic(RestTwo)};
constexpr Transition kToHop[] = {Automatic(Hop)};
constexpr Transition kReturn[] = {{0, 0, TRANSITION_RETURN}};
constexpr Transition kWaitTable[] = {{1, 0, To(RestOne)}, {8, 0, TRANSITION_RETURN}, kTableEnd};

const Transition* RestOne(Signal) { return kRestOne; }
const Transition* RestTwo(Signal) { return kRestTwo; }
const Transition* Hop(Signal signal) {
  Record("H", signal);
  return kToRestTwo;
}
const Transition* Chain(Signal signal) {
  Record("C", signal);
  return kToHop;
}
const Transition* Back(Signal signal) {
  Record("B", signal);
  return kReturn;
}
const Transition* Wait(Signal signal) {
  Record("W", signal);
  return kWaitTable;
}

constexpr DenseDispatch<2> kDense({{{RestOne, kRestOne}, {RestTwo, kRestTwo}}});

struct Trace {
  std::vector<bool> taken;
  std::vector<std::string> calls;
  std::vector<StateFn> states;
  std::vector<std::array<StateFn, HISTORY_DEPTH>> histories;
};

Trace RunEvents(const std::vector<uint8_t>& events, bool dense) {
  StateMachine machine(RestOne);
  machine.Reset(RestOne);
  int resting = kDense.RestingIndex(machine);
  calls.clear();
  Trace run;
  for (const uint8_t event : events) {
    run.taken.push_back(dense ? kDense.Dispatch(machine, resting, event)
                              : machine.Dispatch(event, 0));
    run.states.push_back(machine.state);
    run.histories.push_back(machine.history);
    if (dense) {
      EXPECT_EQ(resting, kDense.RestingIndex(machine));
    }
  }
  run.calls = calls;
  return run;
}

// The dense table does what the engine does, call for call, save the
// resting states' own calls, which do nothing.
TEST(DenseDispatch, DoesWhatTheEngineDoes) {
  std::mt19937 random(3);
  std::uniform_int_distribution<int> event(0, 9);
  for (int round = 0; round < 2000; ++round) {
    std::vector<uint8_t> events(20);
    for (uint8_t& e : events) e = static_cast<uint8_t>(event(random));
    const Trace engine = RunEvents(events, false);
    const Trace dense = RunEvents(events, true);
    ASSERT_EQ(dense.taken, engine.taken);
    ASSERT_EQ(dense.calls, engine.calls);
    ASSERT_EQ(dense.states, engine.states);
    ASSERT_EQ(dense.histories, engine.histories);
  }
}

TEST(DenseDispatch, RowsAreTheFirstThatTakeTheEventWithQualifierZero) {
  StateMachine machine(RestOne);
  machine.Reset(RestOne);
  int resting = kDense.RestingIndex(machine);
  ASSERT_EQ(resting, 0);
  calls.clear();
  // Event 3 passes over the row that wants qualifier 5 and leads to RestTwo.
  EXPECT_TRUE(kDense.Dispatch(machine, resting, 3));
  EXPECT_EQ(machine.state, RestTwo);
  EXPECT_EQ(resting, 1);
  EXPECT_TRUE(calls.empty());
  // Event 0 is taken only by RestTwo's TRANSITION_ANY row.
  EXPECT_TRUE(kDense.Dispatch(machine, resting, 0));
  EXPECT_EQ(machine.state, RestOne);
  EXPECT_FALSE(kDense.Dispatch(machine, resting, 0));
}

}  // namespace
}  // namespace fxt
