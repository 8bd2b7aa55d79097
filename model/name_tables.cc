#include "model/name_tables.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace fxt {

int LookupName(const char* text, const char* const* table, int count) {
  if (text == nullptr || count <= 0) return -1;
  for (int i = 0; i < count; ++i) {
    if (std::strcmp(table[i], text) == 0) return i;
  }
  return -1;
}

constexpr std::array<const char*, MANUFACTURER_NAME_COUNT> ManufacturerNames = {
    "COEMAR",     "MARTIN",      "ROBE",     "COEF",      "CLAY PAKY", "SGM",       "ABSTRACT",
    "FAL",        "FUTURELIGHT", "GENI",     "GENIUS",    "GLP",       "GRIVEN",    "HIGH END",
    "JBLIGHTING", "MOVITEC",     "SAGITTER", "STUDIODUE", "TECHNILUX", "ULTRALITE", "VARILITE",
    "DTS",        "WYBRON",      "PEARL",    "GENERIC",   "FX RANGE",  "RADLITE",
};

constexpr std::array<const char*, ATTRIBUTE_TYPE_NAME_COUNT> AttributeTypeNames = {
    "PAN",     "TILT",    "COLOUR",  "COLOUR 1", "COLOUR 2",  "CYAN",    "MAGENTA", "YELLOW",
    "GOBO",    "GOBO 1",  "GOBO 2",  "GOBO ROT", "INTENSITY", "SHUTTER", "IRIS",    "ZOOM",
    "FOCUS",   "PRISM",   "CONTROL", "MSPEED",   "SHAPE",     "ZAPMODE", "STROBE",  "FROST",
    "PTSPEED", "FXSPEED", "SPEED",   "SHAPER1",  "SHAPER2",
};

constexpr std::array<const char*, PARAMETER_TYPE_NAME_COUNT> ParameterTypeNames = {
    "-PAN-",     "-TILT-",    "-COLOUR-",  "-COLOUR1-", "-COLOUR2-", "-CYAN-",    "-MAGNTA-",
    "-YELLOW-",  "-GOBO-",    "-GOBO<>-",  "-GOBO 1-",  "-GOBO 2-",  "-GOBOROT-", "-SHUTTER-",
    "-IRIS-",    "-ZOOM-",    "-FOCUS-",   "-PRISM-",   "-CONTROL-", "-MSPEED-",  "-SHAPER-",
    "-ZAPMODE-", "-STROBE-",  "-FROST-",   "-CNTRL-",   "-PTSPEED-", "-FXSPEED-", "-CTC-",
    "-PRISM<>-", "-ROTGOBO-", "-SPEED-",   "-LEECOL-",  "-GB1 IDX-", "-GB1 ROT-", "-GB2 IDX-",
    "-GB2 ROT-", "-SHAPER1-", "-SHAPER2-",
};

namespace {
// Two entries of the label table share this one text.
constexpr char kColourColon[] = "Colour:";
}  // namespace

// Twelve labels a row, with their indexes above them.
// clang-format off
constexpr std::array<const char*, DISPLAY_LABEL_COUNT> DisplayLabels = {
    // 0-11
    "Pan=", "Ti@=", "Colour 1", "Colour 2", "Colour 3", "Colour 4", "Colour 5", "Colour 6",
    "Colour 7", "Colour 8", "Colour 9", "Colour 10",
    // 12-23
    "Colour 11", "Colour 12", kColourColon, "White", "SteelBlue", "Amber", "Violet", "Blue",
    "Pink", "Col1>:", "Col1<:", "Col1:",
    // 24-35
    "Col2>:", "Col2<:", "Col2:", "ColWhl:", "Cwhl>:", "Cwhl<:", "Cyan=", "Cyan:", "Mgnta=",
    "Mgnta:", "Yellow=", "Yellow:",
    // 36-47
    "No Gobo", "Gobo 1", "Gobo 2", "Gobo 3", "Gobo 4", "Gobo 5", "Gobo 6", "Gobo 7", "Gobo 8",
    "Gobo 9", "Gobo 10", "Gobo 11",
    // 48-59
    "Gobo 12", "G1 Shk:", "G2 Shk:", "G3 Shk:", "G4 Shk:", "G5 Shk:", "G6 Shk:", "G7 Shk:",
    "G8 Shk:", "G9 Shk:", "G10Shk:", "G11Shk:",
    // 60-71
    "G12Shk:", "GWhl>:", "GWhl<:", "Gobo>:", "Gobo<:", "No Gobo1", "Gobo 1.1", "Gobo 1.2",
    "Gobo 1.3", "Gobo 1.4", "Gobo 1.5", "Gobo 1.6",
    // 72-83
    "Gobo 1.7", "Gobo 1.8", "Gobo 1.9", "G1Whl>:", "Gobo1:", "G1Fine:", "Gobo1>:", "Gobo1<:",
    "Gb1Idx=", "No Gobo2", "Gobo 2.1", "Gobo 2.2",
    // 84-95
    "Gobo 2.3", "Gobo 2.4", "Gobo 2.5", "Gobo 2.6", "Gobo 2.7", "Gobo 2.8", "Gobo 2.9", "G2Whl>:",
    "Gobo2:", "G2Fine:", "Gobo2>:", "Gobo2<:",
    // 96-107
    "Gb2Idx=", "Focus=", "Focus:", "SoftFocus", "No Prism", "Prism", "Prism 1", "Prism 2",
    "Prism 3", "Prsm>:", "Prsm<:", "No Iris",
    // 108-119
    "Iris Min", "Iris Max", "Iris:", "Iris=", "Pulse:", "Flash:", "Shtr Clsd", "Shtr Open",
    "Strobe:", "Pulse1:", "Pulse2:", "Rand:",
    // 120-131
    "MoveBlk", "PulseO:", "PulseC:", "Rnd Fast", "Rnd Med", "Rnd Slow", "Lamp Off", "Lamp On",
    "PT Reset", "Fx Reset", "Mot Reset", "All Reset",
    // 132-143
    "Fast", "Ultrafast", "Vector:", "Track:", "SlowTrack", "Macro 1", "Macro 2", "Macro 3",
    "Macro 4", "Macro 5", "Macro 6", "Macro 7",
    // 144-155
    "Macro 8", "Reset", "FxIdx:", "Fx>:", "Fx<:", "No Effect", "Effect 1", "Effect 2", "Effect 3",
    "Effect 4", "Effect 5", "Dot",
    // 156-167
    "Dots", "Cone", "Spirals", "Spokes", "Squares", "Star", "Stars", "Line", "Laser", "TieDie",
    "Glass 1", "Glass 2",
    // 168-179
    "Glass 3", "Ripples", "FxBlack", "SCUT Off", "SCUT On", "NormTrack", "FastTrack", "Tracking",
    "Ctc=", kColourColon, "RndStrbF", "RndStrbM",
    // 180-191
    "RndStrbS", "RndPulsOF", "RndPulsOS", "RndPulsCF", "RndPulsCS", "C1Whl:", "C1Whl<:",
    "C1Whl>:", "C2Whl:", "C2Whl<:", "C2Whl>:", "Gb1.1:",
    // 192-203
    "Gb1.2:", "Gb1.3:", "Gb1.4:", "Gb1.5:", "Gb1.6:", "Gb1.7:", "Gb1.1<:", "Gb1.1>:", "Gb1.2<:",
    "Gb1.2>:", "Gb1.3<:", "Gb1.3>:",
    // 204-215
    "Gb1.4<:", "Gb1.4>:", "Gb1.5<:", "Gb1.5>:", "G2.1shk:", "G2.2shk:", "G2.3shk:", "G2.4shk:",
    "G2.5shk:", "G2.6shk:", "G2.7shk:", "G2.8shk:",
    // 216-227
    "G2.9shk:", "Shapr1:", "Shapr2:", "NoShaper1", "NoShaper2", "FxSpd:", "Red", "Yellow",
    "Green", "UV", "Lee 2", "Lee 3",
    // 228-239
    "Lee 4", "Lee 7", "Lee 8", "Lee 9", "Lee 10", "Lee 13", "Lee 15", "Lee 17", "Lee 19",
    "Lee 20", "Lee 21", "Lee 22",
    // 240-251
    "Lee 24", "Lee 25", "Lee 26", "Lee 27", "Lee 29", "Lee 35", "Lee 36", "Lee 39", "Lee 46",
    "Lee 48", "Lee 52", "Lee 53",
    // 252-263
    "Lee 58", "Lee 61", "Lee 63", "Lee 68", "Lee 71", "Lee 75", "Lee 79", "Lee 85", "Lee 88",
    "Lee 89", "Lee 90", "Lee 100",
    // 264-275
    "Lee 101", "Lee 102", "Lee 103", "Lee 104", "Lee 105", "Lee 106", "Lee 107", "Lee 108",
    "Lee 109", "Lee 110", "Lee 111", "Lee 113",
    // 276-287
    "Lee 115", "Lee 116", "Lee 117", "Lee 118", "Lee 119", "Lee 120", "Lee 121", "Lee 122",
    "Lee 124", "Lee 126", "Lee 127", "Lee 128",
    // 288-299
    "Lee 130", "Lee 131", "Lee 132", "Lee 134", "Lee 135", "Lee 136", "Lee 137", "Lee 138",
    "Lee 139", "Lee 140", "Lee 141", "Lee 142",
    // 300-311
    "Lee 143", "Lee 144", "Lee 147", "Lee 148", "Lee 151", "Lee 152", "Lee 153", "Lee 154",
    "Lee 156", "Lee 157", "Lee 158", "Lee 159",
    // 312-323
    "Lee 161", "Lee 162", "Lee 164", "Lee 165", "Lee 166", "Lee 169", "Lee 170", "Lee 172",
    "Lee 174", "Lee 176", "Lee 179", "Lee 180",
    // 324-335
    "Lee 181", "Lee 182", "Lee 183", "Lee 192", "Lee 193", "Lee 194", "Lee 195", "Lee 196",
    "Lee 197", "Lee 198", "Lee 200", "Lee 201",
    // 336-347
    "Lee 202", "Lee 203", "Lee 204", "Lee 205", "Lee 206", "Lee 207", "Lee 208", "Lee 212",
    "Lee 213", "Lee 218", "Lee 219", "Lee 223",
    // 348-359
    "Lee 226", "Lee 230", "Lee 232", "Lee 236", "Lee 237", "Lee 238", "Lee 241", "Lee 242",
    "Lee 243", "Lee 244", "Lee 245", "Lee 246",
    // 360-371
    "Lee 247", "Lee 248", "Lee 249", "Lee 278", "Lee 279", "Lee 281", "Lee 285", "Lee 322",
    "Lee 323", "Lee 325", "Lee 327", "Lee 328",
    // 372-383
    "Lee 332", "Lee 341", "Lee 343", "Lee 344", "Lee 345", "Lee 352", "Lee 353", "Lee 354",
    "Lee 363", "Lee 366", "Lee 441", "Lee 442",
    // 384-395
    "Lee 443", "Lee 444", "Lee 711", "Lee 719", "Lee 724", "Lee 725", "Lee 728", "Lee 735",
    "Lee 746", "Lee 763", "Lee 764", "Lee 776",
    // 396-407
    "Lee 777", "Lee 779", "Lee 789", "Lee 998", "Lee 999", "Rosco 09", "Rosco 15", "Rosco 19",
    "Rosco 22", "Rosco 23", "Rosco 26", "Rosco 32",
    // 408-419
    "Rosco 39", "Rosco 44", "Rosco 46", "Rosco 54", "Rosco 57", "Rosco 80", "Rosco 83",
    "Rosco 90", "Rosco 312", "Gam 120", "Gam 155", "Gam 315",
    // 420-431
    "Gam 330", "Gam 343", "Gam 450", "Gam 540", "Gam 650", "Gam 680",
    "Gam 690", "Gam 725", "Gam 810", "Gam 915", "Gam 960", "Gam 990",
    // 432
    "Gam 995",
};
// clang-format on

namespace {

// FNV-1a: cheap on the short texts of the tables, and the same at compile
// time as at run time.
constexpr uint32_t NameHash(std::string_view text) {
  uint32_t hash = 2166136261u;
  for (const char c : text) {
    hash ^= static_cast<uint8_t>(c);
    hash *= 16777619u;
  }
  return hash;
}

// A table's entries by the hash of their text, with linear probing. Equal
// texts keep the first index, as a walk from the first entry finds it.
template <size_t kEntries, size_t kSlots>
class HashedTable {
 public:
  static constexpr int16_t EMPTY = -1;

  explicit constexpr HashedTable(const std::array<const char*, kEntries>& table)
      : table_(table.data()) {
    slots_.fill(EMPTY);
    for (size_t i = 0; i < kEntries; ++i) {
      const std::string_view text = table[i];
      lengths_[i] = static_cast<uint8_t>(text.size());
      longest_ = std::max(longest_, text.size());
      if (Find(text) == -1) slots_[Probe(text)] = static_cast<int16_t>(i);
    }
  }

  // A text longer than every entry is none of them.
  constexpr int Find(std::string_view text) const {
    if (text.size() > longest_) return -1;
    return slots_[Probe(text)];
  }

 private:
  static_assert(kSlots >= 2 * kEntries && (kSlots & (kSlots - 1)) == 0);

  // The slot that holds the text, or the empty one where it would go.
  constexpr size_t Probe(std::string_view text) const {
    size_t slot = NameHash(text) & (kSlots - 1);
    while (slots_[slot] != EMPTY && Entry(slots_[slot]) != text) slot = (slot + 1) & (kSlots - 1);
    return slot;
  }

  constexpr std::string_view Entry(int16_t index) const {
    const auto i = static_cast<size_t>(index);
    return {table_[i], lengths_[i]};
  }

  const char* const* table_;
  std::array<uint8_t, kEntries> lengths_{};
  std::array<int16_t, kSlots> slots_{};
  size_t longest_ = 0;
};

constexpr HashedTable<MANUFACTURER_NAME_COUNT, 64> kManufacturerIndex(ManufacturerNames);
constexpr HashedTable<ATTRIBUTE_TYPE_NAME_COUNT, 64> kAttributeTypeIndex(AttributeTypeNames);
constexpr HashedTable<PARAMETER_TYPE_NAME_COUNT, 128> kParameterTypeIndex(ParameterTypeNames);
constexpr HashedTable<DISPLAY_LABEL_COUNT, 1024> kDisplayLabelIndex(DisplayLabels);

}  // namespace

int LookupName(std::string_view text, NameTable table) {
  if (table.data() == DisplayLabels.data()) return kDisplayLabelIndex.Find(text);
  if (table.data() == AttributeTypeNames.data()) return kAttributeTypeIndex.Find(text);
  if (table.data() == ParameterTypeNames.data()) return kParameterTypeIndex.Find(text);
  if (table.data() == ManufacturerNames.data()) return kManufacturerIndex.Find(text);
  for (size_t i = 0; i < table.size(); ++i) {
    if (table[i] == text) return static_cast<int>(i);
  }
  return -1;
}

int LookupName(const char* text, NameTable table) {
  return text == nullptr ? -1 : LookupName(std::string_view(text), table);
}

}  // namespace fxt
