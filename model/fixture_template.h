// The in-memory fixture template, and the numbered slots that hold templates.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "model/attribute.h"
#include "model/parameter.h"
#include "model/record_pool.h"
#include "model/table_name.h"

namespace fxt {

inline constexpr size_t MODEL_NAME_LENGTH = 15;
inline constexpr int FIXTURE_SLOT_COUNT = 11;
inline constexpr int MAX_ATTRIBUTES = 255;
inline constexpr int MAX_PARAMETERS = 255;

class FixtureTemplate : public PooledRecord<FixtureTemplate> {
 public:
  Attribute firstAttribute;  // a member of the list once attributeCount >= 1
  Parameter firstParameter;  // a member of the list once parameterCount >= 1
  uint8_t slotNumber;
  TableName manufacturer;
  std::string modelName;
  uint16_t version = 0;  // major * 256 + minor
  uint8_t attributeCount = 0;
  uint8_t parameterCount = 0;
  int32_t sourceLine = 0;  // its fixture line in the file

  // Builds an empty template and registers it in its slot (1 to 11),
  // destroying the template that the slot held. The slot owns it from then
  // on; a template for any other slot number is not kept. Null when no
  // memory could be had or the slot number names no slot.
  static FixtureTemplate* Create(uint8_t slot);

  // Leaves the slot that holds it, when one does.
  virtual ~FixtureTemplate();
  FixtureTemplate(const FixtureTemplate&) = delete;
  FixtureTemplate& operator=(const FixtureTemplate&) = delete;

  // Null when no memory could be had or the list is full (255 attributes).
  Attribute* AddAttribute();
  // Drops an earlier parameter with displayer `displayer` when the list holds
  // two or more, then appends. Null when no memory could be had or the list
  // is full (255 parameters).
  Parameter* AddParameter(uint16_t displayer);
  Parameter* FindParameterByDisplayer(int displayer);
  // NthAttribute and NthParameter from the first of the list, answered
  // without walking it.
  Attribute* AttributeAt(int n) { return &furtherAttributes_.At(firstAttribute, n); }
  const Attribute* AttributeAt(int n) const { return &furtherAttributes_.At(firstAttribute, n); }
  Parameter* ParameterAt(int n) { return &furtherParameters_.At(firstParameter, n); }
  const Parameter* ParameterAt(int n) const { return &furtherParameters_.At(firstParameter, n); }
  // The nodes that a walk of each list visits after its first node, in list
  // order; the list is as long as they are, plus one.
  std::span<Attribute* const> FurtherAttributes() const { return furtherAttributes_.Nodes(); }
  std::span<Parameter* const> FurtherParameters() const { return furtherParameters_.Nodes(); }
  // Each takes the text up to its first NUL, as a C string reads it.
  void SetManufacturer(std::string_view text);
  void ReleaseManufacturer() { manufacturer.Free(); }
  void SetModelName(std::string_view name);

 private:
  explicit FixtureTemplate(uint8_t slot) : slotNumber(slot) {}
  void DropParameter(Parameter* parameter);

  FurtherNodes<Attribute> furtherAttributes_;
  FurtherNodes<Parameter> furtherParameters_;
};

// The template held in slot 1 to 11, or null.
FixtureTemplate* FixtureInSlot(int slot);
// Destroys the template held in the slot, if any.
void EmptySlot(int slot);
// The template held in the slot, which leaves it empty; null when it held none.
std::unique_ptr<FixtureTemplate> TakeFromSlot(int slot);
void EmptyAllSlots();

}  // namespace fxt
