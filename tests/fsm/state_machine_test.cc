#include "fsm/state_machine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recorded_signals.h"

namespace fxt {
namespace {

using testing::calls;
using testing::Record;

const Transition* StateA(Signal);
const Transition* StateB(Signal);
const Transition* StateC(Signal);
const Transition* StateS(Signal);
const Transition* StateEmpty(Signal);
const Transition* StateReturner(Signal);

constexpr uint8_t EV_GO = 1, EV_QUALIFIED = 2, EV_INTERNAL = 3, EV_BACK = 4, EV_TO_C = 5,
                  EV_RETURNER = 6;

constexpr Transition kSTable[] = {
    {EV_GO, 0, To(StateA)},
    {EV_QUALIFIED, 7, To(StateC)},
    {EV_INTERNAL, 0, TRANSITION_INTERNAL},
    {EV_BACK, 0, TRANSITION_RETURN},
    {EV_TO_C, 0, To(StateC)},
    {EV_RETURNER, 0, To(StateReturner)},
    kTableEnd,
};
constexpr Transition kToB[] = {Automatic(StateB)};
constexpr Transition kToC[] = {Automatic(StateC)};
constexpr Transition kCTable[] = {
    {EV_BACK, 0, TRANSITION_RETURN},
    {TRANSITION_ANY, 0, To(StateS)},
    kTableEnd,
};
constexpr Transition kEmpty[] = {kTableEnd};
constexpr Transition kAutoReturn[] = {{0, 0, TRANSITION_RETURN}};
constexpr Transition kReturnerTable[] = {{EV_INTERNAL, 0, TRANSITION_INTERNAL}, kTableEnd};

const Transition* StateS(Signal signal) {
  Record("S", signal);
  return kSTable;
}
const Transition* StateA(Signal signal) {
  Record("A", signal);
  return kToB;
}
const Transition* StateB(Signal signal) {
  Record("B", signal);
  return kToC;
}
const Transition* StateC(Signal signal) {
  Record("C", signal);
  return kCTable;
}
const Transition* StateEmpty(Signal signal) {
  Record("E", signal);
  return kEmpty;
}
// Returns automatically, unless told to wait on entry for an internal event.
bool returnerWaits = false;
const Transition* StateReturner(Signal signal) {
  Record("R", signal);
  return signal == SIG_ENTRY && returnerWaits ? kReturnerTable : kAutoReturn;
}

class StateMachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    machine.Reset(StateS);
    calls.clear();
  }
  std::vector<StateFn> History() const {
    std::vector<StateFn> filled;
    for (StateFn state : machine.history) {
      if (state != nullptr) filled.push_back(state);
    }
    return filled;
  }
  StateMachine machine{StateS};
};

TEST_F(StateMachineTest, UnmatchedEventChangesNothing) {
  EXPECT_FALSE(machine.Dispatch(99, 0));
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(machine.state, StateS);
}

TEST_F(StateMachineTest, QualifierZeroMatchesAnyButOtherQualifiersOnlyThemselves) {
  EXPECT_FALSE(machine.Dispatch(EV_QUALIFIED, 6));
  EXPECT_TRUE(machine.Dispatch(EV_GO, 9));
  machine.Reset(StateS);
  EXPECT_TRUE(machine.Dispatch(EV_QUALIFIED, 7));
  EXPECT_EQ(machine.state, StateC);
}

TEST_F(StateMachineTest, EventZeroIsTakenOnlyByAnyEntry) {
  EXPECT_FALSE(machine.Dispatch(0, 0));
  machine.Reset(StateC);
  EXPECT_TRUE(machine.Dispatch(0, 0));
  EXPECT_EQ(machine.state, StateS);
}

TEST_F(StateMachineTest, EmptyTableTakesNothing) {
  machine.Reset(StateEmpty);
  calls.clear();
  EXPECT_FALSE(machine.Dispatch(EV_GO, 0));
  EXPECT_TRUE(calls.empty());
}

TEST_F(StateMachineTest, InternalTransitionSendsOnlyAction) {
  EXPECT_TRUE(machine.Dispatch(EV_INTERNAL, 0));
  EXPECT_EQ(calls, (std::vector<std::string>{"S*"}));
  EXPECT_TRUE(History().empty());
}

// S -> A, automatic to B, automatic to C: S pushed by the event, A by the
// chain, B not recorded.
TEST_F(StateMachineTest, ChainRecordsOnlyTheStateItLeftFirst) {
  EXPECT_TRUE(machine.Dispatch(EV_GO, 0));
  EXPECT_EQ(calls, (std::vector<std::string>{"S-", "A+", "A-", "B+", "B-", "C+"}));
  EXPECT_EQ(History(), (std::vector<StateFn>{StateA, StateS}));
  EXPECT_EQ(machine.state, StateC);
}

TEST_F(StateMachineTest, HistoryKeepsTheThreeMostRecentStates) {
  machine.Dispatch(EV_GO, 0);    // history A, S; in C
  machine.Dispatch(1, 0);        // C -> S: history C, A, S
  machine.Dispatch(EV_TO_C, 0);  // S -> C: history S, C, A
  EXPECT_EQ(History(), (std::vector<StateFn>{StateS, StateC, StateA}));
}

TEST_F(StateMachineTest, ReturnReentersTheMostRecentStateAndPopsIt) {
  machine.Dispatch(EV_TO_C, 0);  // history S
  calls.clear();
  EXPECT_TRUE(machine.Dispatch(EV_BACK, 0));
  EXPECT_EQ(calls, (std::vector<std::string>{"C-", "S+"}));
  EXPECT_EQ(machine.state, StateS);
  EXPECT_TRUE(History().empty());
}

TEST_F(StateMachineTest, ReturnWithEmptyHistoryFailsAfterTheExit) {
  EXPECT_FALSE(machine.Dispatch(EV_BACK, 0));
  EXPECT_EQ(calls, (std::vector<std::string>{"S-"}));
  EXPECT_EQ(machine.state, StateS);
  EXPECT_EQ(machine.table, kSTable);
}

// An internal transition whose action yields an automatic return, with
// nothing in the history: the chain ends in the state it was leaving.
TEST_F(StateMachineTest, AutomaticReturnWithEmptyHistoryEndsTheChain) {
  returnerWaits = true;
  machine.Reset(StateReturner);
  returnerWaits = false;
  calls.clear();
  EXPECT_TRUE(machine.Dispatch(EV_INTERNAL, 0));
  EXPECT_EQ(calls, (std::vector<std::string>{"R*", "R-"}));
  EXPECT_EQ(machine.state, StateReturner);
  EXPECT_EQ(machine.table, kAutoReturn);
}

TEST_F(StateMachineTest, AutomaticReturnReentersTheStateLeft) {
  machine.Dispatch(EV_RETURNER, 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"S-", "R+", "R-", "S+"}));
  EXPECT_EQ(machine.state, StateS);
  EXPECT_TRUE(History().empty());
}

TEST_F(StateMachineTest, ResetEntersStartWithoutExitingAndClearsHistory) {
  machine.Dispatch(EV_GO, 0);
  calls.clear();
  machine.Reset(StateS);
  EXPECT_EQ(calls, (std::vector<std::string>{"S+"}));
  EXPECT_TRUE(History().empty());
}

TEST(StateMachineStart, FirstDispatchEntersTheStartState) {
  calls.clear();
  StateMachine fresh(StateS);
  EXPECT_EQ(fresh.table, nullptr);
  EXPECT_TRUE(fresh.Dispatch(EV_GO, 0));
  EXPECT_EQ(calls.front(), "S+");
  EXPECT_EQ(fresh.state, StateC);
}

}  // namespace
}  // namespace fxt
