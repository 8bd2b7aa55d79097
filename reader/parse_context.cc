#include "reader/parse_context.h"

#include "grammar/header.h"

namespace fxt {

ParseContext parseContext;
StateMachine machine(StateStart);

void ResetProcessState() {
  parseContext = ParseContext{};
  machine = StateMachine(StateStart);
  EmptyAllSlots();
}

}  // namespace fxt
