// The DMX footprint as a picture: one cell per channel, sixteen to a row,
// a 16-bit attribute's coarse and fine channels as one bracketed span, and
// what is wrong in colour and in words.
#include <string>

#include "chart/page_context.h"

namespace fxt::chart {
namespace {

constexpr int32_t WIDTH = 1296;
constexpr size_t CELLS_PER_ROW = 16;
constexpr int32_t PITCH = 80;
constexpr int32_t CELL_WIDTH = 76;
constexpr int32_t CELL_HEIGHT = 60;
constexpr int32_t ROW_PITCH = 86;
constexpr int32_t LEFT = 8;
constexpr int32_t TOP = 4;
constexpr size_t NAME_FITS = 9;  // characters of a name in one cell

struct Box {
  int32_t x;
  int32_t y;
};

Box BoxOf(size_t cell) {
  return {LEFT + static_cast<int32_t>(cell % CELLS_PER_ROW) * PITCH,
          TOP + static_cast<int32_t>(cell / CELLS_PER_ROW) * ROW_PITCH};
}

// A name cut to fit, ending in an ellipsis when cut.
void WriteFitted(Html& html, const std::string& name, size_t fits) {
  if (name.size() <= fits) {
    html.Text(name);
  } else {
    html.Text(std::string_view(name).substr(0, fits - 1)) << "\xE2\x80\xA6";
  }
}

class FootprintPicture {
 public:
  FootprintPicture(Html& html, const PageContext& page)
      : html_(html), footprint_(page.footprint) {}

  void Write() {
    const size_t rows = (footprint_.cells.size() + CELLS_PER_ROW - 1) / CELLS_PER_ROW;
    html_ << "<svg class=\"chart footprint\" viewBox=\"0 0 " << WIDTH << ' '
          << static_cast<int32_t>(rows) * ROW_PITCH + TOP
          << "\" role=\"img\" aria-label=\"DMX footprint, channels "
          << footprint_.cells.front().channel << " to " << footprint_.cells.back().channel
          << "\">\n";
    for (size_t cell = 0; cell < footprint_.cells.size(); ++cell) {
      if (IsSpan(cell)) {
        WriteSpan(cell);
        ++cell;
      } else {
        WriteCell(cell);
      }
    }
    WriteTargets();
    html_ << "</svg>\n";
  }

 private:
  Html& html_;
  const Footprint& footprint_;

  const FootprintAttribute& Placed(int number) const {
    return footprint_.attributes[static_cast<size_t>(number - 1)];
  }
  std::string NameOf(int number) const { return AttributeName(Placed(number).attribute, number); }

  // A 16-bit attribute whose fine channel follows its coarse one on the
  // same row, neither shared with another attribute.
  bool IsSpan(size_t cell) const {
    const FootprintCell& coarse = footprint_.cells[cell];
    if (coarse.uses.size() != 1 || coarse.uses[0].fine ||
        cell % CELLS_PER_ROW == CELLS_PER_ROW - 1 || cell + 1 == footprint_.cells.size()) {
      return false;
    }
    const FootprintCell& fine = footprint_.cells[cell + 1];
    return fine.uses.size() == 1 && fine.uses[0].fine &&
           fine.uses[0].number == coarse.uses[0].number;
  }

  // What the small line under a name says, most important first.
  std::string SubText(const FootprintCell& cell) const {
    if (cell.uses.empty()) return cell.beyondNumDmx ? "beyond numDMX" : "unused";
    if (cell.uses.size() > 1) return std::to_string(cell.uses.size()) + " attributes";
    const FootprintAttribute& placed = Placed(cell.uses[0].number);
    if (placed.noChannelLine) return "no channel=";
    if (placed.intensity) return "intensity";
    if (cell.uses[0].fine) return "fine";
    return placed.fineChannel ? "coarse" : "";
  }

  std::string ClassOf(const FootprintCell& cell) const {
    if (cell.uses.empty()) return cell.beyondNumDmx ? "cell free beyond" : "cell free";
    if (cell.uses.size() > 1) return "cell clash";
    if (Placed(cell.uses[0].number).noChannelLine) return "cell warn";
    return cell.beyondNumDmx ? "cell beyond" : "cell";
  }

  void WriteTitle(const FootprintCell& cell) {
    html_ << "<title>Channel " << cell.channel;
    if (cell.uses.empty()) html_ << ": unused";
    for (size_t i = 0; i < cell.uses.size(); ++i) {
      const ChannelUse& use = cell.uses[i];
      html_ << (i == 0 ? ": " : ", ");
      html_.Text(NameOf(use.number)) << (use.fine ? " (fine)" : "");
      if (Placed(use.number).intensity) html_ << ", the intensity attribute";
    }
    if (cell.beyondNumDmx) html_ << "; beyond numDMX=";
    html_ << "</title>";
  }

  void WriteCell(size_t index) {
    const FootprintCell& cell = footprint_.cells[index];
    const Box box = BoxOf(index);
    html_ << "<g";
    WriteTargetId(cell);
    html_ << "><rect class=\"" << ClassOf(cell) << "\" x=\"" << box.x << "\" y=\"" << box.y
          << "\" width=\"" << CELL_WIDTH << "\" height=\"" << CELL_HEIGHT << "\"/>";
    if (cell.uses.size() == 1 && Placed(cell.uses[0].number).intensity)
      WriteIntensityMark(box, CELL_WIDTH);
    html_ << "<text class=\"ch\" x=\"" << box.x + 5 << "\" y=\"" << box.y + 17 << "\">"
          << cell.channel << "</text>";
    if (!cell.uses.empty()) {
      html_ << "<text class=\"name\" x=\"" << box.x + CELL_WIDTH / 2 << "\" y=\"" << box.y + 37
            << "\">";
      WriteFitted(html_, NameOf(cell.uses[0].number), NAME_FITS);
      html_ << "</text>";
    }
    WriteSub(box, CELL_WIDTH, SubText(cell));
    if (cell.uses.size() > 1 ||
        (cell.uses.size() == 1 && NameOf(cell.uses[0].number).size() > NAME_FITS)) {
      WriteTitle(cell);
    }
    html_ << "</g>\n";
  }

  void WriteSpan(size_t index) {
    const FootprintCell& coarse = footprint_.cells[index];
    const FootprintCell& fine = footprint_.cells[index + 1];
    const FootprintAttribute& placed = Placed(coarse.uses[0].number);
    const Box box = BoxOf(index);
    const int32_t width = PITCH + CELL_WIDTH;
    html_ << "<g";
    WriteTargetId(coarse);
    html_ << "><rect class=\"" << ClassOf(coarse) << "\" x=\"" << box.x << "\" y=\"" << box.y
          << "\" width=\"" << width << "\" height=\"" << CELL_HEIGHT << "\"/>";
    if (placed.intensity) WriteIntensityMark(box, width);
    html_ << "<text class=\"ch\" x=\"" << box.x + 5 << "\" y=\"" << box.y + 17 << "\">"
          << coarse.channel << "</text><text class=\"ch\" x=\"" << box.x + PITCH + 5 << "\" y=\""
          << box.y + 17 << "\">" << fine.channel << "</text><text class=\"name\" x=\""
          << box.x + width / 2 << "\" y=\"" << box.y + 37 << "\">";
    WriteFitted(html_, NameOf(placed.number), 2 * NAME_FITS);
    html_ << "</text>";
    const std::string sub = SubText(coarse);
    WriteSub(box, width, sub == "coarse" ? "16-bit: coarse + fine" : sub);
    html_ << "<path class=\"bracket\" d=\"M" << box.x + 2 << ',' << box.y + CELL_HEIGHT + 6 << "v8H"
          << box.x + width - 2 << "v-8\"/>";
    if (NameOf(placed.number).size() > 2 * NAME_FITS) {
      html_ << "<title>";
      html_.Text(NameOf(placed.number)) << "</title>";
    }
    html_ << "</g>\n";
  }

  void WriteIntensityMark(const Box& box, int32_t width) {
    html_ << "<rect class=\"int\" x=\"" << box.x << "\" y=\"" << box.y << "\" width=\"" << width
          << "\" height=\"6\"/>";
  }

  void WriteSub(const Box& box, int32_t width, const std::string& text) {
    if (text.empty()) return;
    html_ << "<text class=\"sub\" x=\"" << box.x + width / 2 << "\" y=\"" << box.y + 53 << "\">"
          << text << "</text>";
  }

  // The attribute whose coarse channel a cell is first, when it is the
  // target of the links to that attribute.
  static const ChannelUse* TargetOf(const FootprintCell& cell) {
    return !cell.uses.empty() && !cell.uses.front().fine ? &cell.uses.front() : nullptr;
  }

  void WriteTargetId(const FootprintCell& cell) {
    if (const ChannelUse* target = TargetOf(cell)) html_ << " id=\"attr-" << target->number << '"';
  }

  // The other attributes' cells, as the targets of the links to them.
  void WriteTargets() {
    for (const FootprintAttribute& placed : footprint_.attributes) {
      if (!placed.channel) continue;
      const size_t index = static_cast<size_t>(*placed.channel - footprint_.cells.front().channel);
      const ChannelUse* target = TargetOf(footprint_.cells[index]);
      if (target != nullptr && target->number == placed.number) continue;
      const Box box = BoxOf(index);
      html_ << "<rect class=\"hit\" id=\"attr-" << placed.number << "\" x=\"" << box.x << "\" y=\""
            << box.y << "\" width=\"" << CELL_WIDTH << "\" height=\"" << CELL_HEIGHT << "\"/>\n";
    }
  }
};

}  // namespace

void WriteFootprint(Html& html, const PageContext& page) {
  const Footprint& footprint = page.footprint;
  if (footprint.cells.empty()) {
    html << "<p>No attribute takes a DMX channel.</p>\n";
  } else {
    FootprintPicture(html, page).Write();
    html << "<p class=\"notes\">Gold marks the intensity attribute; a bracket joins a 16-bit "
            "attribute's coarse and fine channels; red hatching marks a channel taken twice.</p>\n";
  }
  if (!footprint.problems.empty()) {
    html << "<ul class=\"problems\">\n";
    for (const FootprintProblem& problem : footprint.problems) {
      html << "<li class=\"" << (problem.error ? "error" : "warning") << "\"><span class=\"sev\">"
           << (problem.error ? "Problem: " : "Warning: ") << "</span>";
      if (problem.attribute != 0) html << "<a href=\"#attr-row-" << problem.attribute << "\">";
      html.Text(problem.text);
      if (problem.attribute != 0) html << "</a>";
      html << "</li>\n";
    }
    html << "</ul>\n";
  }
}

}  // namespace fxt::chart
