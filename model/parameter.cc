#include "model/parameter.h"

#include <algorithm>
#include <new>
#include <vector>

namespace fxt {

Parameter* Parameter::Init() {
  const uint8_t keptDisplayer = displayer;
  *this = Parameter{};
  displayer = keptDisplayer;
  return this;
}

std::unique_ptr<Parameter> Parameter::Destroy() {
  std::vector<Stop*> stops;  // first to last
  for (Stop* stop = &firstStop; stop != nullptr; stop = stop->next.get()) stops.push_back(stop);
  for (size_t last = stops.size() - 1; last >= 1; --last) {
    stops[last]->Destroy();
    stops[last - 1]->next.reset();
  }
  stopCount = std::min<uint8_t>(stopCount, 1);
  lastHeapStop = nullptr;
  attribList.reset();
  FreeTypeName();
  firstStop.Destroy();
  if (next != nullptr) next->prev = prev;
  if (prev == nullptr) return nullptr;
  std::unique_ptr<Parameter> self = std::move(prev->next);
  prev->next = std::move(next);
  return self;
}

Stop* Parameter::AddStop() {
  if (stopCount == 0) {
    stopCount = 1;
    return &firstStop;
  }
  if (stopCount >= MAX_STOPS) return nullptr;
  std::unique_ptr<Stop> stop(new (std::nothrow) Stop);
  if (stop == nullptr) return nullptr;
  LastStop()->next = std::move(stop);
  lastHeapStop = LastStop()->next.get();
  ++stopCount;
  return lastHeapStop;
}

bool Parameter::AppendAttribute(uint8_t attributeNumber) {
  if (attribCount >= MAX_ATTRIBUTE_NUMBERS) return false;
  std::unique_ptr<uint8_t[]> grown(new (std::nothrow) uint8_t[attribCount + 1]);
  if (grown == nullptr) return false;
  std::copy_n(attribList.get(), attribCount, grown.get());
  grown[attribCount] = attributeNumber;
  attribList = std::move(grown);
  ++attribCount;
  return true;
}

void Parameter::SetTypeName(const char* text) {
  typeName.Set(NormaliseName(text).c_str(), ParameterTypeNames);
}

Parameter* NthParameter(Parameter* first, int n) {
  Parameter* parameter = first;
  for (int i = 1; i < n && parameter->next != nullptr; ++i) parameter = parameter->next.get();
  return parameter;
}

}  // namespace fxt
