#include "model/fixture_template.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace fxt {
namespace {

// Slot n is entry n - 1. The slots own their templates: destroying a
// template is emptying its slot.
std::array<std::unique_ptr<FixtureTemplate>, FIXTURE_SLOT_COUNT> fixtureSlots;

bool IsSlotNumber(int slot) { return slot >= 1 && slot <= FIXTURE_SLOT_COUNT; }

}  // namespace

FixtureTemplate* FixtureInSlot(int slot) {
  return IsSlotNumber(slot) ? fixtureSlots[slot - 1].get() : nullptr;
}

void EmptySlot(int slot) {
  if (IsSlotNumber(slot)) fixtureSlots[slot - 1].reset();
}

void EmptyAllSlots() {
  for (auto& slot : fixtureSlots) slot.reset();
}

// The slot owns its template, so this runs when the slot is emptied, the
// slot already holding nothing; a template destroyed any other way releases
// the slot's hold on it.
FixtureTemplate::~FixtureTemplate() {
  if (IsSlotNumber(slotNumber) && fixtureSlots[slotNumber - 1].get() == this) {
    (void)fixtureSlots[slotNumber - 1].release();
  }
}

FixtureTemplate* FixtureTemplate::Create(uint8_t slot) {
  std::unique_ptr<FixtureTemplate> created(new (std::nothrow) FixtureTemplate(slot));
  if (created == nullptr || !IsSlotNumber(slot)) return nullptr;
  EmptySlot(slot);
  fixtureSlots[slot - 1] = std::move(created);
  return fixtureSlots[slot - 1].get();
}

Attribute* FixtureTemplate::AddAttribute() {
  if (attributeCount == 0) {
    attributeCount = 1;
    return &firstAttribute;
  }
  if (attributeCount >= MAX_ATTRIBUTES) return nullptr;
  std::unique_ptr<Attribute> added(new (std::nothrow) Attribute);
  if (added == nullptr) return nullptr;
  lastAttribute_->next = std::move(added);
  lastAttribute_ = lastAttribute_->next.get();
  attributeIndex_.push_back(lastAttribute_);
  ++attributeCount;
  return lastAttribute_;
}

// The last match: searched from the end, where the parameter that a new one
// replaces usually stands.
Parameter* FixtureTemplate::FindParameterByDisplayer(int displayer) {
  if (parameterCount == 0) return nullptr;
  for (Parameter* parameter = lastParameter_; parameter != nullptr; parameter = parameter->prev) {
    if (parameter->displayer == displayer) return parameter;
  }
  return nullptr;
}

// The first parameter is part of the record: dropping it moves the second
// one's content into it.
void FixtureTemplate::DropParameter(Parameter* parameter) {
  --parameterCount;
  if (parameter == lastParameter_) lastParameter_ = parameter->prev;
  if (parameter != &firstParameter) {
    const std::unique_ptr<Parameter> dropped = parameter->Destroy();
    return;
  }
  (void)firstParameter.Destroy();  // held inside the record: nothing comes back
  std::unique_ptr<Parameter> second = std::move(firstParameter.next);
  if (second == nullptr) return;
  if (second.get() == lastParameter_) lastParameter_ = &firstParameter;
  firstParameter = std::move(*second);
  if (firstParameter.next != nullptr) firstParameter.next->prev = &firstParameter;
}

Parameter* FixtureTemplate::AddParameter(uint16_t displayer) {
  if (parameterCount >= 2) {
    if (Parameter* unnumbered = FindParameterByDisplayer(displayer)) DropParameter(unnumbered);
  }
  Parameter* added = &firstParameter;
  if (parameterCount != 0) {
    if (parameterCount >= MAX_PARAMETERS) return nullptr;
    std::unique_ptr<Parameter> allocated(new (std::nothrow) Parameter);
    if (allocated == nullptr) return nullptr;
    allocated->prev = lastParameter_;
    lastParameter_->next = std::move(allocated);
    added = lastParameter_ = lastParameter_->next.get();
  }
  ++parameterCount;
  added->displayer = static_cast<uint8_t>(displayer);
  return added;
}

void FixtureTemplate::SetManufacturer(const char* text) {
  manufacturer.Set(NormaliseName(text).c_str(), ManufacturerNames);
}

void FixtureTemplate::SetModelName(const std::string& name) {
  modelName.assign(name.c_str(), std::min(std::strlen(name.c_str()), MODEL_NAME_LENGTH));
}

}  // namespace fxt
