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
  return IsSlotNumber(slot) ? fixtureSlots[static_cast<size_t>(slot - 1)].get() : nullptr;
}

void EmptySlot(int slot) {
  if (IsSlotNumber(slot)) fixtureSlots[static_cast<size_t>(slot - 1)].reset();
}

std::unique_ptr<FixtureTemplate> TakeFromSlot(int slot) {
  if (!IsSlotNumber(slot)) return nullptr;
  return std::move(fixtureSlots[static_cast<size_t>(slot - 1)]);
}

void EmptyAllSlots() {
  for (auto& slot : fixtureSlots) slot.reset();
}

// The slot owns its template, so this runs when the slot is emptied, the
// slot already holding nothing; a template destroyed any other way releases
// the slot's hold on it.
FixtureTemplate::~FixtureTemplate() {
  if (IsSlotNumber(slotNumber) && fixtureSlots[slotNumber - 1u].get() == this) {
    (void)fixtureSlots[slotNumber - 1u].release();
  }
}

FixtureTemplate* FixtureTemplate::Create(uint8_t slot) {
  std::unique_ptr<FixtureTemplate> created(new (std::nothrow) FixtureTemplate(slot));
  if (created == nullptr || !IsSlotNumber(slot)) return nullptr;
  EmptySlot(slot);
  fixtureSlots[static_cast<size_t>(slot - 1)] = std::move(created);
  return fixtureSlots[static_cast<size_t>(slot - 1)].get();
}

Attribute* FixtureTemplate::AddAttribute() {
  return furtherAttributes_.Append(firstAttribute, attributeCount);
}

// The last match: searched from the end, where the parameter that a new one
// replaces usually stands.
Parameter* FixtureTemplate::FindParameterByDisplayer(int displayer) {
  if (parameterCount == 0) return nullptr;
  for (Parameter* parameter = &furtherParameters_.Last(firstParameter); parameter != nullptr;
       parameter = parameter->prev) {
    if (parameter->displayer == displayer) return parameter;
  }
  return nullptr;
}

// The first parameter is part of the record: dropping it moves the second
// one's content into it.
void FixtureTemplate::DropParameter(Parameter* parameter) {
  --parameterCount;
  if (parameter != &firstParameter) {
    furtherParameters_.Forget(parameter);
    const std::unique_ptr<Parameter> dropped = parameter->Destroy();
    return;
  }
  (void)firstParameter.Destroy();  // held inside the record: nothing comes back
  std::unique_ptr<Parameter> second = std::move(firstParameter.next);
  if (second == nullptr) return;
  furtherParameters_.Forget(second.get());
  firstParameter = std::move(*second);
  if (firstParameter.next != nullptr) firstParameter.next->prev = &firstParameter;
}

Parameter* FixtureTemplate::AddParameter(uint16_t displayer) {
  if (parameterCount >= 2) {
    Parameter* unnumbered = FindParameterByDisplayer(displayer);
    // Dropping the last parameter and appending one leaves the list as
    // renewing the last one where it stands does.
    if (unnumbered == &furtherParameters_.Last(firstParameter)) {
      unnumbered->Renew();
      unnumbered->displayer = static_cast<uint8_t>(displayer);
      return unnumbered;
    }
    if (unnumbered != nullptr) DropParameter(unnumbered);
  }
  Parameter* added = furtherParameters_.Append(firstParameter, parameterCount);
  if (added != nullptr) added->displayer = static_cast<uint8_t>(displayer);
  return added;
}

void FixtureTemplate::SetManufacturer(std::string_view text) {
  manufacturer.Set(NormaliseName(text), ManufacturerNames);
}

void FixtureTemplate::SetModelName(std::string_view name) {
  modelName.assign(TextOf(name).substr(0, MODEL_NAME_LENGTH));
}

}  // namespace fxt
