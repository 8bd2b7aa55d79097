// The formatter's last word on a new layout: the tester, loading both texts,
// reports the same and builds the same model.
#pragma once

#include <string_view>

namespace fxt {

// Loads both texts as parse loads a file and compares what the loads
// produced: the result, every message with its line numbers in order, and
// the model as fxtdump prints it.
bool SameReading(std::string_view before, std::string_view after);

}  // namespace fxt
