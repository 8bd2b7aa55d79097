// How many "Displayer already used." errors each displayernum= line gives,
// against a plain model of the parameter list: hand-made cases and random
// templates, full lists, replaced parameters and several fixture lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "../test_support.h"
#include "model/fixture_template.h"

namespace fxt {
namespace {

using testing::LoadText;

constexpr const char* kUsedMessage = "Displayer already used.";

std::vector<std::string> UsedMessages(const std::vector<std::string>& messages) {
  std::vector<std::string> used;
  for (const std::string& message : messages) {
    if (message.find(kUsedMessage) != std::string::npos) used.push_back(message);
  }
  return used;
}

std::string UsedMessageOn(int line) {
  return "ERROR - line " + std::to_string(line) + ": " + kUsedMessage;
}

// The displayers of the current template's parameters, in list order, and
// the load's parameter number, which a fixture line does not reset.
class ParameterListModel {
 public:
  // False once the list is full and the parameter cannot replace one.
  bool AddParameter() {
    if (displayers_.size() >= 2) DropLastWithoutDisplayer();
    if (displayers_.size() >= static_cast<size_t>(MAX_PARAMETERS)) return false;
    displayers_.push_back(NO_DISPLAYER);
    ++parameterNumber_;
    return true;
  }

  // The errors that the line gives.
  int64_t SetDisplayer(uint8_t displayer) {
    const auto nodes = static_cast<int64_t>(displayers_.size());
    const int64_t numbered = std::min(parameterNumber_, nodes);
    const int64_t inList =
        std::count(displayers_.begin(), displayers_.begin() + numbered, displayer);
    const int64_t pastEnd = displayers_.back() == displayer ? parameterNumber_ - nodes : 0;
    displayers_[static_cast<size_t>(numbered - 1)] = displayer;
    return inList + std::max<int64_t>(pastEnd, 0);
  }

  void NewTemplate() { displayers_.clear(); }

 private:
  void DropLastWithoutDisplayer() {
    const auto last = std::find(displayers_.rbegin(), displayers_.rend(), NO_DISPLAYER);
    if (last != displayers_.rend()) displayers_.erase(std::next(last).base());
  }

  std::vector<uint8_t> displayers_;
  int64_t parameterNumber_ = 0;
};

// A template's text, written line by line, with the messages the model
// expects of it.
class TemplateWriter {
 public:
  TemplateWriter() { Fixture(); }

  void Fixture() {
    if (ended_) return;
    Line("fixture");
    Line("name=\"Model\"");
    model_.NewTemplate();
    inParameter_ = false;
  }

  void Parameter() {
    if (ended_) return;
    Line("parameter");
    Line("type=c");
    ended_ = !model_.AddParameter();
    inParameter_ = true;
  }

  // Only a parameter block reads one.
  void DisplayerNumber(int value) {
    if (ended_ || !inParameter_) return;
    Line("displayernum=" + std::to_string(value));
    const int64_t uses = model_.SetDisplayer(static_cast<uint8_t>(value));
    expected_.insert(expected_.end(), static_cast<size_t>(uses), UsedMessageOn(lines_));
  }

  const std::string& text() const { return text_; }
  const std::vector<std::string>& expected() const { return expected_; }

 private:
  void Line(const std::string& line) {
    text_ += line + "\n";
    ++lines_;
  }

  ParameterListModel model_;
  std::string text_;
  int lines_ = 0;
  bool ended_ = false;  // a parameter found the list full
  bool inParameter_ = false;
  std::vector<std::string> expected_;
};

void ExpectModelsCounts(const TemplateWriter& writer, const std::string& label) {
  const testing::Loaded loaded = LoadText(writer.text());
  EXPECT_EQ(UsedMessages(loaded.messages), writer.expected()) << label;
}

TEST(DisplayerUses, RepeatsOfOneDisplayerCountEveryEarlierUse) {
  const auto loaded = LoadText(
      "fixture\nparameter\ndisplayernum=1\nparameter\ndisplayernum=1\n"
      "parameter\ndisplayernum=1\n");
  EXPECT_EQ(UsedMessages(loaded.messages),
            (std::vector<std::string>{UsedMessageOn(5), UsedMessageOn(7), UsedMessageOn(7)}));
}

TEST(DisplayerUses, AParameterGivenItsOwnDisplayerAgainCountsItself) {
  const auto loaded = LoadText("fixture\nparameter\ndisplayernum=4\ndisplayernum=4\n");
  EXPECT_EQ(UsedMessages(loaded.messages), (std::vector<std::string>{UsedMessageOn(4)}));
}

TEST(DisplayerUses, NumbersPastTheListsEndCountItsLastParameter) {
  // The second template has one parameter while the load's parameter number
  // is 4: numbers 2 to 4 name that parameter again.
  const auto loaded = LoadText(
      "fixture\nparameter\ndisplayernum=1\nparameter\ndisplayernum=2\nparameter\ndisplayernum=3\n"
      "fixture\nparameter\ndisplayernum=1\ndisplayernum=1\n");
  EXPECT_EQ(UsedMessages(loaded.messages), std::vector<std::string>(4, UsedMessageOn(11)));
}

TEST(DisplayerUses, HandMadeTemplatesMatchTheModel) {
  TemplateWriter replaced;  // parameters without a displayer are replaced
  for (int i = 0; i < 5; ++i) {
    replaced.Parameter();
    replaced.Parameter();
    replaced.DisplayerNumber(i % 2);
  }
  ExpectModelsCounts(replaced, "replaced");

  TemplateWriter thirty;  // 30 stands for none, and 286 is 30 too
  for (const int value : {30, 7, 286, 30, 7}) {
    thirty.Parameter();
    thirty.DisplayerNumber(value);
  }
  thirty.Parameter();
  thirty.DisplayerNumber(7);
  ExpectModelsCounts(thirty, "thirty");

  TemplateWriter full;  // a full list, then parameters that replace its last
  for (int i = 0; i < MAX_PARAMETERS + 20; ++i) {
    full.Parameter();
    if (i < MAX_PARAMETERS - 1) full.DisplayerNumber(i % 40);
  }
  full.DisplayerNumber(3);
  full.DisplayerNumber(3);
  full.Parameter();
  ExpectModelsCounts(full, "full");
}

TEST(DisplayerUses, RandomTemplatesMatchTheModel) {
  std::mt19937 random(20261209);
  const int values[] = {0, 1, 2, 3, 29, 30, 31, 255, 256, 286};
  for (int round = 0; round < 60; ++round) {
    TemplateWriter writer;
    const int steps = std::uniform_int_distribution<int>(1, 700)(random);
    // Some rounds take displayers from a few values, some from all of them.
    const bool fewValues = round % 2 == 0;
    for (int step = 0; step < steps; ++step) {
      const int roll = std::uniform_int_distribution<int>(0, 99)(random);
      if (roll < 2) {
        writer.Fixture();
      } else if (roll < 45) {
        writer.Parameter();
      } else if (fewValues) {
        writer.DisplayerNumber(values[std::uniform_int_distribution<size_t>(0, 9)(random)]);
      } else {
        writer.DisplayerNumber(std::uniform_int_distribution<int>(0, 300)(random));
      }
    }
    ExpectModelsCounts(writer, "round " + std::to_string(round));
  }
}

}  // namespace
}  // namespace fxt
