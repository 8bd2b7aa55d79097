#include "tools/model_json.h"

#include "tools/json_writer.h"

namespace fxt {
namespace {

using Layout = JsonWriter::Layout;

void WriteAttribute(JsonWriter& json, const Attribute& attribute) {
  json.BeginObject(Layout::kInline);
  json.Key("typeName");
  json.StringOrNull(attribute.typeName.get());
  json.Key("channel");
  json.Int(attribute.channel);
  json.Key("fineChannel");
  json.Int(attribute.fineChannel);
  json.Key("homeValue");
  json.Int(attribute.homeValue);
  json.Key("minValue");
  json.Int(attribute.minValue);
  json.Key("maxValue");
  json.Int(attribute.maxValue);
  json.Key("kind");
  json.Int(attribute.kind);
  json.EndObject();
}

void WriteEntry(JsonWriter& json, const StopEntry& entry) {
  json.BeginObject(Layout::kInline);
  json.Key("low");
  json.Int(entry.low);
  json.Key("high");
  json.Int(entry.high);
  json.Key("attribute");
  json.Int(entry.attribute);
  json.Key("flagR");
  json.Int(entry.flagR);
  json.EndObject();
}

void WriteStop(JsonWriter& json, const Stop& stop) {
  json.BeginObject();
  json.Key("label");
  json.StringOrNull(stop.label.get());
  json.Key("mode");
  json.Int(stop.mode);
  json.Key("displayFrom");
  json.Int(stop.displayFrom);
  json.Key("displayTo");
  json.Int(stop.displayTo);
  json.Key("midValue");
  json.Int(stop.midValue);
  json.Key("selectedEntry");
  json.Int(stop.selectedEntry);
  json.Key("entries");
  json.BeginArray();
  for (int i = 0; i < stop.entryCount; ++i) WriteEntry(json, stop.entries[i]);
  json.EndArray();
  json.EndObject();
}

void WriteParameter(JsonWriter& json, const Parameter& parameter) {
  json.BeginObject();
  json.Key("typeName");
  json.StringOrNull(parameter.typeName.get());
  json.Key("kind");
  json.Int(parameter.kind);
  json.Key("displayer");
  json.Int(parameter.displayer);
  json.Key("attribList");
  json.BeginArray(Layout::kInline);
  for (int i = 0; i < parameter.attribCount; ++i) json.Int(parameter.attribList[i]);
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
  json.Key("modelName");
  json.String(fixture.modelName);
  json.Key("manufacturer");
  json.StringOrNull(fixture.manufacturer.get());
  json.Key("version");
  json.Int(fixture.version);
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
  json.Key("result");
  json.Int(outcome.result);
  json.Key("errorCount");
  json.Int(outcome.errorCount);
  json.Key("warningFlag");
  json.Int(outcome.warningFlag);
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
