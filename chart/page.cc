#include "chart/page.h"

#include "chart/page_context.h"

namespace fxt::chart {
namespace {

void WriteHead(Html& html, const PageContext& page) {
  html << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n"
          "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n"
          "<title>DMX chart: ";
  if (page.fixture != nullptr && !page.fixture->modelName.empty()) {
    html.Text(page.fixture->modelName);
  } else {
    html.Utf8(page.source.name);
  }
  html << "</title>\n";
  WriteStyle(html);
  html << "</head>\n";
}

void WriteFact(Html& html, std::string_view term) { html << "<dt>" << term << "</dt><dd>"; }

// A name of the template's, or words that say it has none.
void WriteNameFact(Html& html, std::string_view term, const char* name) {
  if (name == nullptr || *name == '\0') {
    html << "<dt>" << term << "</dt><dd class=\"absent\">none</dd>\n";
    return;
  }
  WriteFact(html, term);
  html.Text(name) << "</dd>\n";
}

void WriteResult(Html& html, const ChartSource& source) {
  WriteFact(html, "Load result");
  if (source.load.result == 0) {
    html << "loaded, without errors or warnings";
  } else if (source.load.result < 0) {
    html << "loaded, with warnings";
  } else {
    html << "did not load: " << Counted(static_cast<size_t>(source.load.result), "error");
  }
  html << " (result " << source.load.result << ", errorCount " << source.load.errorCount
       << ", warningFlag " << source.load.warningFlag << ")</dd>\n";
}

void WriteHeader(Html& html, const PageContext& page) {
  const FixtureTemplate* fixture = page.fixture;
  html << "<header id=\"header\">\n<h1>";
  if (fixture == nullptr || fixture->modelName.empty()) {
    html << "No model name";
  } else {
    html.Text(fixture->modelName);
  }
  html << "</h1>\n<dl class=\"facts\">\n";
  WriteFact(html, "File");
  html.Utf8(page.source.name) << "</dd>\n";
  if (fixture != nullptr) {
    WriteNameFact(html, "Model name", fixture->modelName.c_str());
    WriteNameFact(html, "Manufacturer", fixture->manufacturer.get());
    WriteFact(html, "Version");
    html << (fixture->version >> 8) << '.' << (fixture->version & 0xFF) << " (stored as "
         << fixture->version << ")</dd>\n";
  }
  if (page.source.product) {
    WriteFact(html, "Product");
    html.Text(*page.source.product) << "</dd>\n";
  }
  if (page.source.numDmx) {
    WriteFact(html, "numDMX");
    html << *page.source.numDmx << "</dd>\n";
  }
  if (fixture != nullptr) {
    WriteFact(html, "Attributes");
    html << fixture->attributeCount << "</dd>\n";
    WriteFact(html, "Parameters");
    html << fixture->parameterCount << "</dd>\n";
  }
  WriteResult(html, page.source);
  html << "</dl>\n";
  page.WriteDiagnosticLinks(html, {Place::Kind::kHeader});
  html << "</header>\n";
}

void WriteBanner(Html& html, const PageContext& page) {
  if (page.fixture == nullptr) {
    html << "<p class=\"banner\" role=\"alert\"><strong>There is no template to draw:</strong> "
            "the file has no fixture line that the load accepted.</p>\n";
  } else if (!page.source.Loaded()) {
    html << "<p class=\"banner\" role=\"alert\"><strong>The template did not load</strong> ("
         << Counted(static_cast<size_t>(page.source.load.result), "error")
         << "). The chart draws every value the template writes, those after the first "
            "error included, although the tester stores none of them.</p>\n";
  }
}

void WriteNote(Html& html, const PageContext& page, const Note& note) {
  html << "<li>";
  const std::string anchor = note.position ? page.AnchorOfLine(note.position->line) : "";
  if (!anchor.empty()) html << "<a href=\"#" << anchor << "\">";
  html.Text(note.text);
  if (!anchor.empty()) html << "</a>";
  html << "</li>";
}

void WriteDiagnostics(Html& html, const PageContext& page) {
  const ChartSource& source = page.source;
  html << "<section id=\"diagnostics\"><h2>Diagnostics</h2>\n";
  if (source.diagnostics.empty()) {
    html << "<p>fxtlint finds nothing to report.</p>\n</section>\n";
    return;
  }
  html << "<ol class=\"diagnostics\">\n";
  for (size_t i = 0; i < source.diagnostics.size(); ++i) {
    const ChartDiagnostic& diagnostic = source.diagnostics[i];
    const bool error = diagnostic.severity == Severity::kError;
    const std::string anchor = page.AnchorOf(page.diagnosticPlaces[i]);
    html << "<li id=\"diag-" << i + 1 << "\" class=\"" << (error ? "error" : "warning") << "\">";
    if (!anchor.empty()) html << "<a href=\"#" << anchor << "\">";
    html << "line " << diagnostic.position.line << ", column " << diagnostic.position.column;
    if (!anchor.empty()) html << "</a>";
    html << ": <span class=\"sev\">" << (error ? "error" : "warning") << "</span> <code>"
         << diagnostic.code << "</code> ";
    html.Text(diagnostic.text);
    if (anchor.empty()) html << " (not drawn: outside the charted template)";
    if (!diagnostic.notes.empty()) {
      html << "<ul>";
      for (const Note& note : diagnostic.notes) WriteNote(html, page, note);
      html << "</ul>";
    }
    html << "</li>\n";
  }
  html << "</ol>\n";
  if (source.omittedDiagnostics > 0) {
    html << "<p>" << Counted(source.omittedDiagnostics, "more diagnostic") << " not shown.</p>\n";
  }
  html << "</section>\n";
}

void WriteTemplate(Html& html, const PageContext& page) {
  html << "<section id=\"footprint\"><h2>DMX footprint</h2>\n";
  WriteFootprint(html, page);
  WriteAttributeTable(html, page);
  html << "</section>\n<section id=\"parameters\"><h2>Parameters</h2>\n";
  if (page.fixture->parameterCount == 0) {
    html << "<p>The template has no parameters.</p>\n";
  } else {
    WriteStopLegend(html);
    WriteParameterTable(html, page);
    for (int n = 1; n <= page.fixture->parameterCount; ++n) WriteParameter(html, page, n);
  }
  html << "</section>\n";
}

// A little more than the page will take, from what it draws, so that the
// page is written into one buffer that never moves: a large page is then
// neither copied nor given fresh memory as it grows. Text that a template
// repeats at length (a long label on every stop) may take more; the buffer
// then grows as any string does.
size_t ExpectedSize(const PageContext& page) {
  constexpr size_t kFrame = size_t{16} * 1024;  // the head, its style and the legend
  constexpr size_t kPerAttribute = 512;
  constexpr size_t kPerDiagnostic = 256;
  constexpr size_t kPerNote = 192;
  constexpr size_t kPerParameter = 1024;
  constexpr size_t kPerLane = 384;
  constexpr size_t kPerBar = 128;
  constexpr size_t kPerRun = 64;
  constexpr size_t kPerEntry = 24;  // a cell of the stop table
  constexpr size_t kPerProblem = 160;
  size_t size = kFrame + kPerAttribute * page.footprint.attributes.size();
  for (const ChartDiagnostic& diagnostic : page.source.diagnostics) {
    size += kPerDiagnostic + kPerNote * diagnostic.notes.size();
  }
  for (const StopLanes& lanes : page.parameters) {
    size += kPerParameter + kPerLane * lanes.lanes.size() + kPerProblem * lanes.problems.size();
    for (const Lane& lane : lanes.lanes) size += kPerBar * lane.bars.size();
    for (const StopRun& run : lanes.runs) size += kPerRun + kPerEntry * run.stop->entryCount;
  }
  return size;
}

}  // namespace

std::string ChartPage(const ChartSource& source) {
  const PageContext page(source);
  Html html;
  html.Reserve(ExpectedSize(page));
  WriteHead(html, page);
  html << "<body>\n";
  WritePatterns(html);
  WriteHeader(html, page);
  WriteBanner(html, page);
  WriteDiagnostics(html, page);
  if (page.fixture != nullptr) WriteTemplate(html, page);
  html << "</body>\n</html>\n";
  return html.TakePage();
}

}  // namespace fxt::chart
