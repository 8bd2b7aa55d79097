// Document highlight: every place that names the attribute under the
// cursor, by its channel (a channel= or finechan= line, an attriblist=
// entry) or by its column in a stop line's values.
#include <string>

#include "lsp/features.h"
#include "lsp/line_words.h"
#include "lsp/server.h"
#include "reader/number_scan.h"

namespace fxt::lsp {
namespace {

// The protocol's document highlight kinds.
constexpr int HIGHLIGHT_READ = 2;
constexpr int HIGHLIGHT_WRITE = 3;

constexpr int NO_CHANNEL = -1;

// A place of a line that names an attribute.
struct NamingPlace {
  Span span;
  const Attribute* attribute = nullptr;  // null for a channel that no attribute drives
  int channel = NO_CHANNEL;              // the channel it names, where it names one
  int kind = HIGHLIGHT_READ;
};

Span Trimmed(std::string_view line, Span span) {
  while (span.begin < span.end && (line[static_cast<size_t>(span.begin)] == ' ' ||
                                   line[static_cast<size_t>(span.begin)] == '\t')) {
    ++span.begin;
  }
  while (span.end > span.begin && (line[static_cast<size_t>(span.end - 1)] == ' ' ||
                                   line[static_cast<size_t>(span.end - 1)] == '\t')) {
    --span.end;
  }
  return span;
}

int NumberIn(const std::string& line, Span span) {
  return DecimalValue(
      line.substr(static_cast<size_t>(span.begin), static_cast<size_t>(span.end - span.begin))
          .c_str());
}

void AddStopSlots(const FixtureTemplate& fixture, const Block& block, int32_t lineNumber,
                  const std::string& line, Span value, std::vector<NamingPlace>& places) {
  const std::optional<Span> slots = StopLinePartsOf(line, value).slots;
  if (!slots || block.parameter == nullptr) return;
  const Stop* stop = StopOn(*block.parameter, lineNumber);
  size_t valueNumber = 0;
  for (const Span& slot : ItemsOf(line, *slots)) {
    const Span written = Trimmed(line, slot);
    if (written.begin == written.end) continue;
    places.push_back(
        {written, AttributeOfSlot(fixture, *block.parameter, stop, valueNumber++), NO_CHANNEL});
  }
}

// The places of one line (from 1) that name an attribute.
std::vector<NamingPlace> NamingPlaces(const Snapshot& snapshot, int32_t lineNumber) {
  std::vector<NamingPlace> places;
  const FixtureTemplate& fixture = *snapshot.analysis.fixture;
  const std::string line = TemplateLine(snapshot.lines.Line(lineNumber - 1));
  const WrittenKeyword keyword = KeywordOf(line);
  if (keyword.keyword == nullptr) return places;
  const Block block = BlockAt(snapshot.blocks, lineNumber);
  const Span value = ValueOf(line);
  switch (keyword.keyword->id) {
    case TOKEN_CHANNEL:
    case TOKEN_FINE_CHANNEL:
      if (block.attribute != nullptr && value.begin < value.end) {
        places.push_back({value, block.attribute, NumberIn(line, value), HIGHLIGHT_WRITE});
      }
      break;
    case TOKEN_ATTRIB_LIST:
      for (const Span& item : ItemsOf(line, value)) {
        const Span written = Trimmed(line, item);
        if (written.begin == written.end) continue;
        const int channel = NumberIn(line, written);
        places.push_back({written, AttributeOnChannel(fixture, channel), channel});
      }
      break;
    case TOKEN_STOP:
      if (block.kind == Block::Kind::kParameter) {
        AddStopSlots(fixture, block, lineNumber, line, value, places);
      }
      break;
    default:
      break;
  }
  return places;
}

bool NameSame(const NamingPlace& a, const NamingPlace& b) {
  if (a.attribute != nullptr) return a.attribute == b.attribute;
  return a.channel != NO_CHANNEL && a.channel == b.channel && b.attribute == nullptr;
}

}  // namespace

json DocumentHighlights(const Snapshot& snapshot, SourcePosition at) {
  json highlights = json::array();
  if (snapshot.analysis.fixture == nullptr) return highlights;
  const int32_t index = at.column - 1;
  std::optional<NamingPlace> under;
  for (const NamingPlace& place : NamingPlaces(snapshot, at.line)) {
    if (index >= place.span.begin && index <= place.span.end) under = place;
  }
  if (!under) return highlights;
  const auto lineCount = static_cast<int32_t>(snapshot.lines.LineCount());
  for (int32_t line = 1; line <= lineCount; ++line) {
    for (const NamingPlace& place : NamingPlaces(snapshot, line)) {
      if (!NameSame(*under, place)) continue;
      highlights.push_back({{"range", snapshot.Range(SourceRange{{line, place.span.begin + 1},
                                                                 {line, place.span.end + 1}})},
                            {"kind", place.kind}});
    }
  }
  return highlights;
}

json Server::Highlight(const json& params) {
  const ClientPosition position = PositionOf(params);
  return OnDocument(params, json::array(), [&](const Snapshot& snapshot) {
    return DocumentHighlights(snapshot, snapshot.FromClient(position));
  });
}

}  // namespace fxt::lsp
