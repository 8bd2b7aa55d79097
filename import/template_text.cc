#include "import/template_text.h"

#include "import/desk_text.h"

namespace fxt {
namespace {

constexpr size_t LONGEST_LINE = 99;
constexpr std::string_view kBody = "  ";

void Line(std::string& text, std::string_view indent, std::string_view keyword,
          const std::string& value) {
  text.append(indent).append(keyword).append(" = ").append(value).append("\n");
}

std::string Values(uint32_t low, uint32_t high) {
  return low == high ? std::to_string(low) : std::to_string(low) + ":" + std::to_string(high);
}

std::string StopValue(const PlannedStop& stop) {
  std::string value = "(";
  if (stop.mode != 'n') value += 'm';
  value += Values(stop.low, stop.high) + "), " + stop.mode + ", ";
  if (stop.mode == 'd') {
    value += std::to_string(stop.displayFrom) + ", " + std::to_string(stop.displayTo) + ", ";
  }
  return value + Quoted(stop.label);
}

void Header(std::string& text, const TemplatePlan& plan) {
  text += "fixture\n";
  Line(text, "", "name", Quoted(plan.modelName));
  Line(text, "", "version", "1.0");
  Line(text, "", "manufacturer", Quoted(plan.manufacturer));
  Line(text, "", "product", Quoted(plan.product));
  Line(text, "", "numDMX", std::to_string(plan.dmxChannels));
}

void Attribute(std::string& text, const PlannedAttribute& attribute) {
  text += "attribute\n";
  Line(text, kBody, "name", Quoted(attribute.name));
  Line(text, kBody, "type", std::string(1, attribute.type));
  Line(text, kBody, "channel", std::to_string(attribute.channel));
  if (attribute.fineChannel != 0) {
    Line(text, kBody, "finechan", std::to_string(attribute.fineChannel));
  }
  if (attribute.homeValue) Line(text, kBody, "homeval", std::to_string(*attribute.homeValue));
}

void Parameter(std::string& text, const PlannedParameter& parameter) {
  text += "parameter\n";
  Line(text, kBody, "name", Quoted(parameter.name));
  Line(text, kBody, "type", std::string(1, parameter.type));
  Line(text, kBody, "attriblist", std::to_string(parameter.channel));
  Line(text, kBody, "displayernum", std::to_string(parameter.displayer));
  for (const PlannedStop& stop : parameter.stops) Line(text, kBody, "stop", StopValue(stop));
}

}  // namespace

std::string RemarkLines(const std::string& text) {
  std::string lines;
  std::string line = "/";
  size_t at = 0;
  while (at < text.size()) {
    const size_t space = text.find(' ', at);
    std::string_view word = std::string_view(text).substr(at, space - at);
    at = space == std::string::npos ? text.size() : space + 1;
    if (word.empty()) continue;
    const bool fresh = line.size() <= 4;  // "/" or the "/   " of a continuation
    if (!fresh && line.size() + 1 + word.size() > LONGEST_LINE) {
      lines += line + "\n";
      line = "/  ";
    }
    while (line.size() + 1 + word.size() > LONGEST_LINE) {
      const size_t room = LONGEST_LINE - line.size() - 1;
      lines += line + " " + std::string(word.substr(0, room)) + "\n";
      word.remove_prefix(room);
      line = "/  ";
    }
    line += " ";
    line += word;
  }
  return lines + line + "\n";
}

std::string TemplateText(const TemplatePlan& plan) {
  std::string text;
  for (const std::string& remark : plan.remarks) text += RemarkLines(remark);
  Header(text, plan);
  for (const PlannedAttribute& attribute : plan.attributes) Attribute(text, attribute);
  for (const PlannedParameter& parameter : plan.parameters) Parameter(text, parameter);
  text += "end\n";
  return text;
}

}  // namespace fxt
