#include "tools/model_json.h"

#include "tools/json_writer.h"

namespace fxt {
namespace {

using Layout = JsonWriter::Layout;

void WriteAttribute(JsonWriter& json, const Attribute& attribute) {
  json.BeginObject(Layout::kInline);
  json.StringOrNullMember("typeName", attribute.typeName.get());
  json.IntMember("channel", attribute.channel);
  json.IntMember("fineChannel", attribute.fineChannel);
  json.IntMember("homeValue", attribute.homeValue);
  json.IntMember("minValue", attribute.minValue);
  json.IntMember("maxValue", attribute.maxValue);
  json.IntMember("kind", attribute.kind);
  json.EndObject();
}

void WriteEntry(JsonWriter& json, const StopEntry& entry) {
  json.BeginObject(Layout::kInline);
  json.IntMember("low", entry.low);
  json.IntMember("high", entry.high);
  json.IntMember("attribute", entry.attribute);
  json.IntMember("flagR", entry.flagR);
  json.EndObject();
}

void WriteStop(JsonWriter& json, const Stop& stop) {
  json.BeginObject();
  json.StringOrNullMember("label", stop.label.get());
  json.IntMember("mode", stop.mode);
  json.IntMember("displayFrom", stop.displayFrom);
  json.IntMember("displayTo", stop.displayTo);
  json.IntMember("midValue", stop.midValue);
  json.IntMember("selectedEntry", stop.selectedEntry);
  json.Key("entries");
  json.BeginArray();
  for (size_t i = 0; i < stop.entryCount; ++i) WriteEntry(json, stop.entries[i]);
  json.EndArray();
  json.EndObject();
}

void WriteParameter(JsonWriter& json, const Parameter& parameter) {
  json.BeginObject();
  json.StringOrNullMember("typeName", parameter.typeName.get());
  json.IntMember("kind", parameter.kind);
  json.IntMember("displayer", parameter.displayer);
  json.Key("attribList");
  json.BeginArray(Layout::kInline);
  for (size_t i = 0; i < parameter.attribCount; ++i) json.Int(parameter.attribList[i]);
  json.EndArray();
  json.Key("stops");
  json.BeginArray();
  const Stop* stop = &parameter.firstStop;
  for (int n = 1; n <= parameter.stopCount; ++n, stop = stop->next.get()) WriteStop(json, *stop);
  json.EndArray();
  json.EndObject();
}

void WriteTemplate(JsonWriter& json, const FixtureTemplate& fixture) {
  json.BeginObject();
  json.StringMember("modelName", fixture.modelName);
  json.StringOrNullMember("manufacturer", fixture.manufacturer.get());
  json.IntMember("version", fixture.version);
  json.Key("attributes");
  json.BeginArray();
  const Attribute* attribute = &fixture.firstAttribute;
  for (int n = 1; n <= fixture.attributeCount; ++n, attribute = attribute->next.get()) {
    WriteAttribute(json, *attribute);
  }
  json.EndArray();
  json.Key("parameters");
  json.BeginArray();
  const Parameter* parameter = &fixture.firstParameter;
  for (int n = 1; n <= fixture.parameterCount; ++n, parameter = parameter->next.get()) {
    WriteParameter(json, *parameter);
  }
  json.EndArray();
  json.EndObject();
}

}  // namespace

std::string ModelJson(const LoadOutcome& outcome) {
  JsonWriter json;
  json.BeginObject();
  json.IntMember("result", outcome.result);
  json.IntMember("errorCount", outcome.errorCount);
  json.IntMember("warningFlag", outcome.warningFlag);
  json.Key("template");
  if (outcome.fixture == nullptr) {
    json.Null();
  } else {
    WriteTemplate(json, *outcome.fixture);
  }
  json.EndObject();
  return json.text();
}

}  // namespace fxt
