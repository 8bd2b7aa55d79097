// The model as text tables, beside each picture: for screen readers, for
// copying, and as what a test holds to fxtdump's model. Every value the
// model holds is in them, as a writer reads it.
#include "chart/page_context.h"
#include "grammar/letter_docs.h"

namespace fxt::chart {
namespace {

// "2 i: the intensity attribute"; a code no letter stores has its own words.
void WriteCode(Html& html, LetterRole role, int32_t code) {
  html << "<code>" << code << "</code> ";
  if (role == LetterRole::kAttributeKind && code == KIND_INTENSITY_LISTED) {
    html << "the intensity attribute, named by a parameter";
    return;
  }
  const LetterDoc* doc = LetterDocWithCode(role, code);
  if (doc == nullptr) {
    html << "no " << LetterRoleName(role) << " has this code";
    return;
  }
  if (doc->letter != ANY_OTHER_LETTER) html << doc->letter << ": ";
  html << doc->summary;
}

// "2 w": a stop mode's code and letter, which the legend explains.
void WriteModeCode(Html& html, int32_t mode) {
  html << mode;
  const LetterDoc* doc = LetterDocWithCode(LetterRole::kStopMode, mode);
  if (doc != nullptr && doc->letter != ANY_OTHER_LETTER) html << ' ' << doc->letter;
}

bool HasDisplayValues(const Stop& stop) {
  return stop.displayFrom != 0 || stop.displayTo != DEFAULT_DISPLAY_TO;
}

// A stored value as a writer wrote it: a DMX value for an 8-bit attribute
// (with the rest of a value that is no whole DMX value), as it is for a
// 16-bit one.
void WriteValue(Html& html, uint16_t stored, bool sixteenBit) {
  if (sixteenBit) {
    html << stored;
    return;
  }
  html << (stored >> 8);
  if ((stored & 0xFF) != 0) html << '+' << (stored & 0xFF) << "/256";
}

// A cell for a name or a label that the model does not hold, told apart
// from one that reads the same.
void WriteAbsent(Html& html, std::string_view words) {
  html << "<td class=\"absent\">" << words << "</td>";
}

// A cell for a value the model holds at its default: "none".
void WriteNone(Html& html) { html << "<td>none</td>"; }

void WriteNumberCell(Html& html, int64_t number) { html << "<td>" << number << "</td>"; }

void WriteAttributeRow(Html& html, const PageContext& page, int number, bool diagnostics) {
  const Attribute& attribute = *page.fixture->AttributeAt(number);
  html << "<tr id=\"attr-row-" << number << "\">";
  WriteNumberCell(html, number);
  if (attribute.typeName.IsSet()) {
    html << "<td>";
    html.Text(attribute.typeName.get()) << "</td>";
  } else {
    WriteAbsent(html, "no name");
  }
  WriteNumberCell(html, attribute.channel + 1);
  if (attribute.HasNoFineChannel()) {
    WriteNone(html);
  } else {
    WriteNumberCell(html, attribute.fineChannel + 1);
  }
  html << "<td>" << (attribute.HasNoFineChannel() ? "8" : "16") << "</td><td>";
  WriteValue(html, attribute.homeValue, !attribute.HasNoFineChannel());
  html << "</td>";
  WriteNumberCell(html, attribute.homeValue);
  WriteNumberCell(html, attribute.minValue);
  WriteNumberCell(html, attribute.maxValue);
  html << "<td>";
  WriteCode(html, LetterRole::kAttributeKind, attribute.kind);
  html << "</td>";
  if (diagnostics) {
    html << "<td>";
    page.WriteDiagnosticLinks(html, {Place::Kind::kAttribute, number});
    html << "</td>";
  }
  html << "</tr>\n";
}

// The stop's entries for one attribute, in order: "96–127 m".
void WriteEntryCell(Html& html, const Stop& stop, const Lane& lane) {
  html << "<td>";
  bool first = true;
  for (uint8_t i = 0; i < stop.entryCount; ++i) {
    const StopEntry& entry = stop.entries[i];
    if (entry.attribute != lane.number) continue;
    if (!first) html << "; ";
    first = false;
    WriteValue(html, entry.low, lane.sixteenBit);
    if (entry.high != entry.low) {
      html << "\xE2\x80\x93";  // an en dash
      WriteValue(html, entry.high, lane.sixteenBit);
    }
    if (entry.flagR != 0) html << " r";
    if (stop.selectedEntry == i) html << " m";
  }
  html << "</td>";
}

// Which columns a parameter's stop table needs beyond the stop, its label,
// its mode, its entry under the mouse and its values.
struct StopColumns {
  bool display = false;      // a stop with display values
  bool diagnostics = false;  // a stop that a diagnostic concerns
};

void WriteStopRow(Html& html, const PageContext& page, int parameter, const StopRun& run,
                  const StopColumns& columns) {
  const Stop& stop = *run.stop;
  html << "<tr>";
  WriteNumberCell(html, run.first);
  if (stop.label.IsSet()) {
    html << "<td>";
    html.Text(stop.label.get()) << "</td>";
  } else {
    WriteAbsent(html, "no label");
  }
  html << "<td>";
  WriteModeCode(html, stop.mode);
  html << "</td>";
  if (columns.display) {
    if (HasDisplayValues(stop)) {
      html << "<td>" << stop.displayFrom << " to " << stop.displayTo << "</td>";
    } else {
      WriteNone(html);
    }
  }
  if (stop.selectedEntry == NO_ENTRY_SELECTED && stop.midValue == 0) {
    WriteNone(html);
  } else {
    html << "<td>" << stop.selectedEntry << ", middle " << stop.midValue << "</td>";
  }
  for (const Lane& lane : page.parameters[static_cast<size_t>(parameter - 1)].lanes) {
    WriteEntryCell(html, stop, lane);
  }
  if (columns.diagnostics) {
    html << "<td>";
    for (int n = run.first; n <= run.Last(); ++n) {
      page.WriteDiagnosticLinks(html, {Place::Kind::kStop, parameter, n});
    }
    html << "</td>";
  }
  html << "</tr>\n";
  if (run.count > 1) {
    html << "<tr class=\"repeat\"><td>" << run.first + 1 << "\xE2\x80\x93" << run.Last()
         << "</td><td colspan=\"99\">the same as stop " << run.first << "</td></tr>\n";
  }
}

}  // namespace

void WriteAttributeTable(Html& html, const PageContext& page) {
  bool diagnostics = false;
  for (int n = 1; n <= page.fixture->attributeCount; ++n) {
    diagnostics = diagnostics || page.HasDiagnostics({Place::Kind::kAttribute, n});
  }
  html << "<table class=\"attributes\"><caption>Attributes</caption>\n<thead><tr><th>#</th>"
          "<th>Name</th><th>Channel</th><th>Fine channel</th><th>Bits</th><th>Home value</th>"
          "<th>Stored home value</th><th>Min value</th><th>Max value</th><th>Kind</th>"
       << (diagnostics ? "<th>Diagnostics</th>" : "") << "</tr></thead><tbody>\n";
  for (int n = 1; n <= page.fixture->attributeCount; ++n) {
    WriteAttributeRow(html, page, n, diagnostics);
  }
  html << "</tbody></table>\n";
}

void WriteParameterTable(Html& html, const PageContext& page) {
  html << "<table class=\"parameters\"><caption>Parameters</caption>\n<thead><tr><th>#</th>"
          "<th>Name</th><th>Kind</th><th>Displayer</th><th>Attributes</th><th>Stops</th>"
          "</tr></thead><tbody>\n";
  for (int n = 1; n <= page.fixture->parameterCount; ++n) {
    const Parameter& parameter = *page.fixture->ParameterAt(n);
    html << "<tr>";
    WriteNumberCell(html, n);
    html << "<td><a href=\"#param-" << n << '"'
         << (parameter.typeName.IsSet() ? "" : " class=\"absent\"") << '>';
    WriteParameterName(html, parameter, n);
    html << "</a></td><td>";
    WriteCode(html, LetterRole::kParameterKind, parameter.kind);
    html << "</td>";
    if (parameter.displayer == NO_DISPLAYER) {
      html << "<td>none (30)</td>";
    } else {
      WriteNumberCell(html, parameter.displayer);
    }
    html << "<td class=\"entries\">";
    for (uint8_t i = 0; i < parameter.attribCount; ++i) {
      if (i > 0) html << "; ";
      html << "<span>#" << parameter.attribList[i] << ' ';
      WriteAttributeName(html, *page.fixture, parameter.attribList[i]);
      html << "</span>";
    }
    html << "</td>";
    WriteNumberCell(html, parameter.stopCount);
    html << "</tr>\n";
  }
  html << "</tbody></table>\n";
}

void WriteStopTable(Html& html, const PageContext& page, int number) {
  const StopLanes& lanes = page.parameters[static_cast<size_t>(number - 1)];
  StopColumns columns;
  for (const StopRun& run : lanes.runs) {
    columns.display = columns.display || HasDisplayValues(*run.stop);
    for (int n = run.first; n <= run.Last(); ++n) {
      columns.diagnostics =
          columns.diagnostics || page.HasDiagnostics({Place::Kind::kStop, number, n});
    }
  }
  html << "<table class=\"stops\"><thead><tr><th>Stop</th><th>Label</th><th>Mode</th>"
       << (columns.display ? "<th>Display values</th>" : "") << "<th>Mouse entry</th>";
  for (const Lane& lane : lanes.lanes) {
    html << "<th>#" << lane.number << ' ';
    html.Text(AttributeName(lane.attribute, lane.number)) << "</th>";
  }
  html << (columns.diagnostics ? "<th>Diagnostics</th>" : "") << "</tr></thead><tbody>\n";
  for (const StopRun& run : lanes.runs) WriteStopRow(html, page, number, run, columns);
  html << "</tbody></table>\n";
}

void WriteParameterName(Html& html, const Parameter& parameter, int number) {
  if (parameter.typeName.IsSet()) {
    html.Text(parameter.typeName.get());
  } else {
    html << "parameter " << number;
  }
}

}  // namespace fxt::chart
