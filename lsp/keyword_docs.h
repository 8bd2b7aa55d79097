// One line on what each keyword does, where it is written.
#pragma once

#include <string_view>

#include "lsp/blocks.h"
#include "reader/keywords.h"

namespace fxt::lsp {

std::string_view KeywordDoc(TokenId keyword, Block::Kind block);

}  // namespace fxt::lsp
