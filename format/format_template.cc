#include "format/format_template.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "format/line_layout.h"
#include "format/short_bytes.h"
#include "format/text_sink.h"
#include "reader/keywords.h"
#include "reader/line_reader.h"
#include "reader/parse_context.h"

namespace fxt {
namespace {

enum class LineEnd : uint8_t { kNone, kLf, kCrLf };

std::string_view BytesOf(LineEnd ending) {
  switch (ending) {
    case LineEnd::kLf:
      return {"\n", 1};
    case LineEnd::kCrLf:
      return {"\r\n", 2};
    case LineEnd::kNone:
      break;
  }
  return {};
}

enum class Role : uint8_t {
  kAsItIs,     // any new layout might read otherwise: kept byte for byte
  kBlank,      // blanks at most
  kRemark,     // a remark alone
  kNoKeyword,  // code that begins with no keyword: only trailing blanks go
  kKeyword,    // laid out anew
};

// One line of the text and what becomes of it.
struct Line {
  // Each field takes its first value below. A defaulted constructor would
  // have the vector clear the whole line first, in one string store, which
  // on a text of short lines costs more than the rest of reading them.
  Line() {}  // NOLINT(modernize-use-equals-default)

  size_t begin = 0;          // offset of its first byte
  size_t end = 0;            // offset past its line end
  std::string_view read;     // what the reader takes: every byte before the '\n'
  std::string_view content;  // without the line end
  LineEnd ending = LineEnd::kNone;
  Role role = Role::kAsItIs;
  const Keyword* keyword = nullptr;
  LineParts parts;
  size_t normalisedBegin = 0;  // how the reader reads it, in the block's normalised lines
  size_t normalisedLength = 0;
  int indent = 0;
  size_t codeWidth = 0;   // of the laid-out code before a remark, which may then align
  bool unchanged = true;  // else its new content is in the block's text, here:
  size_t newBegin = 0;
  size_t newLength = 0;
  LineEnd newEnding = LineEnd::kNone;
};

bool IsBlockKeyword(const Keyword* keyword) {
  if (keyword == nullptr) return false;
  const TokenId id = keyword->id;
  return id == TOKEN_FIXTURE || id == TOKEN_ATTRIBUTE || id == TOKEN_PARAMETER || id == TOKEN_END;
}

bool OpensBlockBody(const Keyword* keyword) {
  return keyword->id == TOKEN_ATTRIBUTE || keyword->id == TOKEN_PARAMETER;
}

// Whether a line's bytes may be laid out anew at all: a line the reader
// takes in pieces, a '*' first, and a carriage return or NUL within, which
// end what the reader takes of the line, stay as they are. Neither stands
// before `textLength`, where the reader's text ended.
bool MayLayOut(const Line& line, size_t textLength) {
  if (line.read.size() > LINE_CAPACITY - 1) return false;
  if (!line.content.empty() && line.content.front() == '*') return false;
  const std::string_view rest = line.content.substr(std::min(textLength, line.content.size()));
  return rest.find('\r') == std::string_view::npos && rest.find('\0') == std::string_view::npos;
}

std::string_view TrimmedRight(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Where the new text differs from the old: the old bytes [oldBegin, oldEnd)
// became the new bytes [newBegin, newEnd).
struct Change {
  size_t oldBegin;
  size_t oldEnd;
  size_t newBegin;
  size_t newEnd;
};

// Lays a text out one block at a time: remarks align within a block, and a
// remark alone on its line waits for the next line with a keyword, which at
// the latest is the keyword that opens the next block. The new text is
// written as the lines are laid out, from the first line that changes on.
class Formatter {
 public:
  // An indent out of range, from a client that knows no better, is taken
  // to the nearest one in range.
  // Where the text changes is kept only when `recordChanges`, for Edits.
  Formatter(std::string_view text, const FormatOptions& options, bool recordChanges)
      : text_(text),
        indent_(std::clamp(options.indent, 0, MAX_INDENT)),
        recordChanges_(recordChanges) {}

  // Lays the text out; false when it is laid out already.
  bool LayOut() {
    // The tester never reads from the first 0xFF byte on: that line and all
    // after it stay as they are.
    const size_t stop = std::min(text_.find(static_cast<char>(INPUT_END)), text_.size());
    const bool endByteFound = stop != text_.size();
    for (size_t begin = 0; begin < stop;) {
      // The reader's scan of the line's first bytes finds its end, as a
      // rule; a longer line's end is searched for.
      const LinePiece piece = NormaliseLinePiece(text_.substr(begin, stop - begin),
                                                 text_.data() + text_.size(), normalised_);
      size_t newline = begin + piece.lineLength;
      if (piece.lineLength == piece.taken) newline = text_.find('\n', newline);
      if (newline > stop && endByteFound) break;
      Line& line = block_.emplace_back();
      line.begin = begin;
      if (newline == std::string_view::npos) {
        line.end = text_.size();
        line.read = line.content = text_.substr(begin);
      } else {
        line.end = newline + 1;
        line.read = text_.substr(begin, newline - begin);
        line.ending = line.read.ends_with('\r') ? LineEnd::kCrLf : LineEnd::kLf;
        line.content = line.read.substr(0, line.read.size() - (line.ending == LineEnd::kCrLf));
        if (!fileEndingKnown_) {
          fileEnding_ = line.ending;
          fileEndingKnown_ = true;
        }
      }
      begin = line.end;
      Take(line, piece);
    }
    FinishBlock(block_.size(), !endByteFound);
    if (!changed_) return false;
    laidOut_.Append(text_.substr(copied_));
    return true;
  }

  TextBytes TakeLaidOut() { return laidOut_.Take(); }

  // The changes as edits to the text; before TakeLaidOut.
  std::vector<TextEdit> Edits() const {
    std::vector<TextEdit> edits;
    edits.reserve(changes_.size());
    for (const Change& change : changes_) {
      edits.push_back(
          {change.oldBegin, change.oldEnd,
           std::string(laidOut_.View().substr(change.newBegin, change.newEnd - change.newBegin))});
    }
    return edits;
  }

 private:
  std::string_view text_;
  int indent_;
  LineEnd fileEnding_ = LineEnd::kLf;
  bool fileEndingKnown_ = false;
  bool inBlockBody_ = false;
  std::vector<Line> block_;   // the lines of the block being read
  TextSink blockText_;        // their new contents
  TextSink blockNormalised_;  // the lines as the reader reads them
  std::array<char, NORMALISED_CAPACITY> normalised_{};
  LineText candidate_;  // a layout being tried
  TextSink laidOut_;    // the new text, up to `copied` of the old
  size_t copied_ = 0;
  bool recordChanges_;
  bool changed_ = false;
  std::vector<Change> changes_;

  // Places the line that `block_` ends with in its block; a block keyword
  // first finishes the block before it.
  void Take(Line& line, const LinePiece& piece) {
    Classify(line, piece);
    if (IsBlockKeyword(line.keyword)) {
      inBlockBody_ = OpensBlockBody(line.keyword);
      FinishBlock(block_.size() - 1, false);
    } else if (line.keyword != nullptr && inBlockBody_) {
      line.indent = indent_;
    }
  }

  // Sorts the line out by how the reader read its first piece, which
  // `normalised_` holds.
  void Classify(Line& line, const LinePiece& piece) {
    line.newEnding = line.ending;
    // A line that stays as it is may still open a block, as "*attribute" does.
    if (piece.length != 0) line.keyword = MatchBufferedKeyword(normalised_);
    // A quote left open holds blanks and case that matter, and ends at a '/'.
    if (piece.quoteLeftOpen || !MayLayOut(line, piece.textLength)) return;
    const size_t length = piece.length;
    line.normalisedBegin = blockNormalised_.Size();
    line.normalisedLength = length;
    blockNormalised_.Append({normalised_.data(), length});
    line.parts = SplitLine(line.content, piece.textLength);
    line.newEnding = fileEnding_;
    if (length == 0) {
      line.role = line.parts.remark.empty() ? Role::kBlank : Role::kRemark;
      return;
    }
    line.role = line.keyword == nullptr ? Role::kNoKeyword : Role::kKeyword;
  }

  // Lays out the first `count` lines of `block_`, the block read so far, and
  // writes them out. At the end of the text, blank lines at its end go: the
  // tester counts them, but no message can name them.
  void FinishBlock(size_t count, bool atTextEnd) {
    const std::span<Line> lines(block_.data(), count);
    int nextIndent = 0;  // a block keyword, or the end, follows the block
    for (size_t i = count; i-- > 0;) {
      if (lines[i].role == Role::kKeyword) nextIndent = lines[i].indent;
      if (lines[i].role == Role::kRemark) lines[i].indent = nextIndent;
    }
    blockText_.Clear();
    for (Line& line : lines) Choose(line);
    AlignRemarks(lines);
    size_t kept = count;
    if (atTextEnd) {
      while (kept > 0 && lines[kept - 1].role == Role::kBlank) --kept;
    }
    for (size_t i = 0; i < count; ++i) Write(lines[i], i < kept);
    // The line that opens the next block stays, with how the reader reads it.
    block_.erase(block_.begin(), block_.begin() + static_cast<std::ptrdiff_t>(count));
    if (block_.empty()) {
      blockNormalised_.Clear();
      return;
    }
    Line& next = block_.front();
    blockNormalised_.DropFront(next.normalisedBegin);
    next.normalisedBegin = 0;
  }

  // The first layout that the reader reads as the line it replaces.
  void Choose(Line& line) {
    switch (line.role) {
      case Role::kAsItIs:
        break;
      case Role::kBlank:
        candidate_.Clear();
        if (Try(line)) return;
        break;
      case Role::kRemark:
        StartCandidate(line);
        candidate_.Append(line.parts.remark);
        if (Try(line)) return;
        break;
      case Role::kNoKeyword:
        break;
      case Role::kKeyword:
        if (TryCode(line, Spacing::kCanonical, "  ")) {
          if (!line.parts.remark.empty()) line.codeWidth = candidate_.Size() - Remark(line);
          return;
        }
        if (TryCode(line, Spacing::kCompact, " ")) return;
        break;
    }
    if (line.role != Role::kAsItIs) {
      candidate_.Clear();
      candidate_.Append(TrimmedRight(line.content));
      if (Try(line)) return;
    }
    line.newEnding = line.ending;
    line.unchanged = true;
  }

  void StartCandidate(const Line& line) {
    candidate_.Clear();
    candidate_.Append(static_cast<size_t>(line.indent), ' ');
  }

  // How much of the candidate the remark and the gap before it take.
  static size_t Remark(const Line& line) { return line.parts.remark.size() + 2; }

  bool TryCode(Line& line, Spacing spacing, std::string_view gap) {
    StartCandidate(line);
    AppendLaidOutCode(candidate_, line.parts.code, *line.keyword, spacing);
    if (!line.parts.remark.empty()) {
      candidate_.Append(gap);
      candidate_.Append(line.parts.remark);
    }
    return Try(line);
  }

  // Takes the candidate as the line's new content when the reader reads it,
  // with its new line end, as the line it replaces.
  bool Try(Line& line) {
    // The reader reads at most 99 bytes as one line, its '\r' included.
    if (candidate_.TooLong() || candidate_.Size() >= LINE_CAPACITY) return false;
    const std::string_view text = candidate_.View();
    if (SameBytes(text, line.content) && line.newEnding == line.ending) {
      line.unchanged = true;
      return true;
    }
    // The reader takes a line's '\r' as one of its bytes.
    const bool crlf = line.newEnding == LineEnd::kCrLf;
    if (crlf) candidate_.Push('\r');
    const bool alike = ReadAlike(line);
    if (crlf) candidate_.Pop();
    if (!alike) return false;
    line.unchanged = false;
    line.newBegin = blockText_.Size();
    line.newLength = text.size();
    blockText_.Append(text);
    return true;
  }

  std::string_view NewText(const Line& line) const {
    if (line.unchanged) return line.content;
    return blockText_.View().substr(line.newBegin, line.newLength);
  }

  // The reader makes of the candidate's bytes the one logical line it made
  // of the line's old bytes, which never held more than one. A '\n' after
  // them, as a line in a file has, ends the reader's scan of the room there.
  bool ReadAlike(const Line& line) {
    const std::string_view read = candidate_.View();
    candidate_.EndLineInRoom();
    std::array<char, NORMALISED_CAPACITY> after;  // filled by the normalising
    const LinePiece piece = NormaliseLinePiece(read, candidate_.RoomEnd(), after);
    if (piece.taken != read.size()) return false;
    return SameBytes({after.data(), piece.length},
                     blockNormalised_.View().substr(line.normalisedBegin, line.normalisedLength));
  }

  // Remarks after code stand in one column in their block, two blanks past
  // the longest code that carries one; a line that this column would take
  // past what the reader reads as one line keeps its remark closer.
  void AlignRemarks(std::span<Line> lines) {
    size_t column = 0;
    for (const Line& line : lines) column = std::max(column, line.codeWidth + 2);
    for (Line& line : lines) {
      if (line.codeWidth == 0 || line.codeWidth + 2 == column) continue;
      candidate_.Clear();
      candidate_.Append(NewText(line).substr(0, line.codeWidth));
      candidate_.Append(column - line.codeWidth, ' ');
      candidate_.Append(line.parts.remark);
      Try(line);
    }
  }

  // Writes a line's new bytes when they differ from its old; the bytes
  // before it that stay are copied in one piece. The changes of
  // neighbouring lines make one change.
  void Write(const Line& line, bool kept) {
    if (kept && line.unchanged) return;
    if (!changed_) laidOut_.Reserve(text_.size() + text_.size() / 4);
    changed_ = true;
    laidOut_.Append(text_.substr(copied_, line.begin - copied_));
    copied_ = line.end;
    const size_t newBegin = laidOut_.Size();
    if (kept) {
      laidOut_.Append(NewText(line));
      laidOut_.Append(BytesOf(line.newEnding));
    }
    if (!recordChanges_) return;
    if (changes_.empty() || changes_.back().oldEnd != line.begin) {
      changes_.push_back({line.begin, line.begin, newBegin, newBegin});
    }
    changes_.back().oldEnd = line.end;
    changes_.back().newEnd = laidOut_.Size();
  }
};

}  // namespace

// Every changed line was read by the reader as the line it replaces, so the
// new text reads as the old: loading both again would prove nothing more and
// cost three times what the layout does. The property test and the fuzz
// target load both and hold them to one report and one model.
Formatting FormatTemplate(std::string_view text, const FormatOptions& options) {
  Formatter formatter(text, options, true);
  Formatting formatting;
  if (!formatter.LayOut()) return formatting;
  formatting.edits = formatter.Edits();
  const TextBytes laidOut = formatter.TakeLaidOut();
  formatting.laidOut.assign(laidOut.begin(), laidOut.end());
  return formatting;
}

std::optional<TextBytes> LaidOutText(std::string_view text, const FormatOptions& options) {
  Formatter formatter(text, options, false);
  if (!formatter.LayOut()) return std::nullopt;
  return formatter.TakeLaidOut();
}

std::string FormattedText(std::string_view text, const FormatOptions& options) {
  const std::optional<TextBytes> laidOut = LaidOutText(text, options);
  return laidOut ? std::string(laidOut->begin(), laidOut->end()) : std::string(text);
}

}  // namespace fxt
