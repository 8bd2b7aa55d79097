#include "model/attribute.h"

namespace fxt {

Attribute* Attribute::Init() {
  *this = Attribute{};
  return this;
}

void Attribute::SetTypeName(std::string_view text) { typeName.Set(text, AttributeTypeNames); }

Attribute* NthAttribute(Attribute* first, int n) { return NthNode(first, n); }

const Attribute* NthAttribute(const Attribute* first, int n) { return NthNode(first, n); }

}  // namespace fxt
