// A template as fxtimport plans it from one mode of a fixture, before it is
// written out as text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fxt {

struct PlannedStop {
  uint32_t low = 0;  // on the attribute's scale: 0-255, or 0-65535 with a fine channel
  uint32_t high = 0;
  char mode = 'n';      // 'n' a step; 'w' a range the mouse moves; 'd' a direction
  int displayFrom = 0;  // the direction's display values, for mode 'd'
  int displayTo = 0;
  std::string label;
};

struct PlannedAttribute {
  std::string name;
  char type = 'b';
  int channel = 0;                    // 0 for an intensity attribute that has no channel of its own
  int fineChannel = 0;                // 0 for none
  std::optional<uint32_t> homeValue;  // on the attribute's scale
};

struct PlannedParameter {
  std::string name;
  char type = 'b';
  int channel = 0;  // the channel of the one attribute it drives
  int displayer = 0;
  std::vector<PlannedStop> stops;
};

struct TemplatePlan {
  std::vector<std::string> remarks;  // above the template
  // What the template cannot say of the mode: each one is a remark too.
  std::vector<std::string> losses;
  std::string modelName;
  std::string manufacturer;
  std::string product;
  int dmxChannels = 0;
  std::vector<PlannedAttribute> attributes;
  std::vector<PlannedParameter> parameters;
};

}  // namespace fxt
