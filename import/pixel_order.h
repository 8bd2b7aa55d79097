// The orders in which a matrix insert block repeats its template channels.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "import/library_fixture.h"

namespace fxt {

// The pixel keys for "eachPixelABC" (by name, numbers by their value),
// "eachPixelXYZ" and its kin (by place, the first letter's axis fastest), or
// the group keys for "eachPixelGroup".
std::vector<std::string> PixelOrder(const Matrix& matrix, std::string_view repeatFor);

// Compares two texts as people sort names: "2" before "10".
bool NaturalLess(std::string_view a, std::string_view b);

}  // namespace fxt
