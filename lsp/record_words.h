// The model's records in plain words, for the outline and for hovers.
#pragma once

#include <string>

#include "model/fixture_template.h"

namespace fxt::lsp {

std::string NameOf(const Attribute& attribute);
std::string NameOf(const Parameter& parameter);
std::string NameOf(const Stop& stop);
// DMX channel, and fine channel when there is one: "3/4", "5", "0".
std::string ChannelsOf(const Attribute& attribute);
int DmxChannelOf(const Attribute& attribute);
std::string AttributeKindWords(int kind);
std::string ParameterKindWords(int kind);
std::string ModeWords(int mode);

}  // namespace fxt::lsp
