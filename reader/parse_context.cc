#include "reader/parse_context.h"

namespace fxt {

ParseContext parseContext;

}  // namespace fxt
