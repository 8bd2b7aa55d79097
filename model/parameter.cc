#include "model/parameter.h"

namespace fxt {

Parameter* Parameter::Init() {
  const uint8_t keptDisplayer = displayer;
  *this = Parameter{};
  displayer = keptDisplayer;
  return this;
}

void Parameter::ReleaseContents() {
  for (; stopCount > 1; --stopCount) {
    Stop& beforeLast = furtherStops.At(firstStop, stopCount - 1);
    beforeLast.next->Destroy();
    beforeLast.next.reset();
  }
  furtherStops.Clear();
  attribList.reset();
  FreeTypeName();
  firstStop.Destroy();
}

// Field by field, where Init builds and moves in a whole new parameter: a
// template that replaces parameter after parameter renews one per line.
void Parameter::Renew() {
  ReleaseContents();
  firstStop.Init();
  kind = 0;
  stopCount = 0;
  attribCount = 0;
  sourceLine = 0;
}

std::unique_ptr<Parameter> Parameter::Destroy() {
  ReleaseContents();
  if (next != nullptr) next->prev = prev;
  if (prev == nullptr) return nullptr;
  std::unique_ptr<Parameter> self = std::move(prev->next);
  prev->next = std::move(next);
  return self;
}

Stop* Parameter::AddStop() { return furtherStops.Append(firstStop, stopCount); }

bool Parameter::AppendAttribute(uint8_t attributeNumber) {
  return GrowByOne(attribList, attribCount, attributeNumber);
}

bool Parameter::AppendAttributes(std::span<const uint8_t> attributeNumbers) {
  return GrowBy(attribList, attribCount, attributeNumbers);
}

void Parameter::SetTypeName(std::string_view text) {
  typeName.Set(NormaliseName(text).c_str(), ParameterTypeNames);
}

Parameter* NthParameter(Parameter* first, int n) { return NthNode(first, n); }

const Parameter* NthParameter(const Parameter* first, int n) { return NthNode(first, n); }

}  // namespace fxt
