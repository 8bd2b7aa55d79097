#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "load/run_load.h"
#include "reader/report.h"
#include "tests/test_support.h"

namespace fxt {
namespace {

// Prints as parse does, a line end before each message, into a text of its
// own; it lends a room of `roomBytes`, emptied into the text at each Report
// as a buffer is written out when full.
class LendingTarget : public ReportTarget {
 public:
  explicit LendingTarget(size_t roomBytes)
      : room_(roomBytes), lent_{room_.data(), room_.data() + room_.size()} {}

  void Report(const Diagnostic& diagnostic) override {
    Empty();
    text_ += '\n';
    text_ += diagnostic.message;
    ++reported_;
  }
  MessageRoom* RoomForMessages() override { return &lent_; }

  std::string Text() {
    Empty();
    return text_;
  }
  int reported() const { return reported_; }

 private:
  void Empty() {
    text_.append(room_.data(), static_cast<size_t>(lent_.next - room_.data()));
    lent_ = {room_.data(), room_.data() + room_.size()};
  }

  std::vector<char> room_;
  MessageRoom lent_;
  std::string text_;
  int reported_ = 0;
};

// Messages with line numbers and without, some too long for the room.
std::string ManyMessages() {
  return "fixture\nattribute\nchannel=1\n" + testing::Repeated("parameter\n", 60) +
         "attribute\nname=\"" + std::string(90, 'x') + "\"\nend\n";
}

std::string AsPrinted(const std::vector<std::string>& messages) {
  std::string text;
  for (const std::string& message : messages) text += "\n" + message;
  return text;
}

TEST(MessageRoom, MessagesWrittenIntoTheRoomReadAsReportedOnes) {
  const std::string input = ManyMessages();
  testing::RecordingTarget recorder;
  RunLoad(BytesOf(input), &recorder);
  const std::string expected = AsPrinted(recorder.messages);
  // No room at all; exactly one message's room; rooms that run out between
  // messages; one that never does.
  for (const size_t roomBytes :
       {size_t{0}, size_t{128}, size_t{129}, size_t{200}, size_t{1000}, size_t{1} << 16}) {
    SCOPED_TRACE(roomBytes);
    LendingTarget lender(roomBytes);
    RunLoad(BytesOf(input), &lender);
    EXPECT_EQ(lender.Text(), expected);
  }
}

TEST(MessageRoom, AMessageWithItsLineNumberSkipsReportWhenItFits) {
  const std::string input = ManyMessages();
  testing::RecordingTarget recorder;
  RunLoad(BytesOf(input), &recorder);
  LendingTarget lender(size_t{1} << 16);
  RunLoad(BytesOf(input), &lender);
  // Only the messages that carry no line number still go through Report.
  const auto withoutLineNumber = std::count_if(
      recorder.messages.begin(), recorder.messages.end(),
      [](const std::string& message) { return message.find(" line ") == std::string::npos; });
  EXPECT_EQ(lender.reported(), withoutLineNumber);
  EXPECT_LT(withoutLineNumber, 10);
  EXPECT_GT(recorder.messages.size(), 100U);
}

}  // namespace
}  // namespace fxt
