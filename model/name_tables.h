// The fixed name tables that the model matches names against, and the lookup
// that every one of them uses.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace fxt {

using NameTable = std::span<const char* const>;

// Index of the first entry equal to `text` in every byte, or -1. Exact:
// case-sensitive, whole text, no trimming.
int LookupName(const char* text, const char* const* table, int count);
// The same answer for one of the fixed tables below, by one hash of the
// text; a text that is no C string's whole text (it holds a NUL) finds
// nothing.
int LookupName(const char* text, NameTable table);
int LookupName(std::string_view text, NameTable table);

inline constexpr int MANUFACTURER_NAME_COUNT = 27;
inline constexpr int ATTRIBUTE_TYPE_NAME_COUNT = 29;
inline constexpr int PARAMETER_TYPE_NAME_COUNT = 38;
inline constexpr int DISPLAY_LABEL_COUNT = 433;

extern const std::array<const char*, MANUFACTURER_NAME_COUNT> ManufacturerNames;
extern const std::array<const char*, ATTRIBUTE_TYPE_NAME_COUNT> AttributeTypeNames;
extern const std::array<const char*, PARAMETER_TYPE_NAME_COUNT> ParameterTypeNames;
extern const std::array<const char*, DISPLAY_LABEL_COUNT> DisplayLabels;

}  // namespace fxt
