#include "model/short_list.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

namespace fxt {
namespace {

using List = ShortList<int, 3>;

void ExpectHolds(const List& list, const std::vector<int>& model) {
  ASSERT_EQ(list.size(), model.size());
  EXPECT_EQ(list.empty(), model.empty());
  EXPECT_EQ(std::vector<int>(list.Items().begin(), list.Items().end()), model);
  if (!model.empty()) {
    EXPECT_EQ(list.back(), model.back());
  }
}

// Appends, erasures anywhere, clears and moves, in place and on the heap and
// across the line between them, against a plain vector.
TEST(ShortList, KeepsItsItemsInOrderInPlaceAndOnTheHeap) {
  std::mt19937 random(3);
  List list;
  std::vector<int> model;
  for (int step = 0; step < 20000; ++step) {
    const int what = std::uniform_int_distribution<int>(0, 99)(random);
    if (what < 55 || model.empty()) {
      list.push_back(step);
      model.push_back(step);
    } else if (what < 95) {
      const auto index = std::uniform_int_distribution<size_t>(0, model.size() - 1)(random);
      list.Erase(index);
      model.erase(model.begin() + static_cast<std::ptrdiff_t>(index));
    } else if (what < 97) {
      list.clear();
      model.clear();
    } else {
      List moved(std::move(list));
      ExpectHolds(list, {});  // NOLINT(bugprone-use-after-move): left empty on purpose
      list = std::move(moved);
    }
    ExpectHolds(list, model);
    if (HasFailure()) return;
  }
}

TEST(ShortList, MovesFromTheHeapAndFromItsPlace) {
  for (const int count : {2, 3, 4, 10}) {
    List list;
    std::vector<int> model;
    for (int i = 0; i < count; ++i) {
      list.push_back(i);
      model.push_back(i);
    }
    List target;
    target.push_back(99);
    target = std::move(list);
    ExpectHolds(target, model);
    ExpectHolds(list, {});  // NOLINT(bugprone-use-after-move): left empty on purpose
    list.push_back(7);
    ExpectHolds(list, {7});
  }
}

}  // namespace
}  // namespace fxt
