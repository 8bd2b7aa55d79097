// The documentation of every letter is held to the page that prints it, to
// the grammar that reads the letter, and to the catalogue whose messages it
// quotes.
#include "grammar/letter_docs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "../page_support.h"
#include "load/run_load.h"
#include "model/name_tables.h"

namespace fxt {
namespace {

constexpr LetterRole kRoles[] = {LetterRole::kAttributeKind, LetterRole::kParameterKind,
                                 LetterRole::kStopMode, LetterRole::kValueMark};

// The page's subsection on a role: "Stop modes" for the stop mode.
std::string HeadingOnPage(LetterRole role) {
  std::string heading(LetterRoleName(role));
  heading[0] = static_cast<char>(heading[0] - 'a' + 'A');
  return heading + "s";
}

// One entry as "i (code 2): text", the way both the page and the table are
// compared.
std::string EntryWords(char letter, std::optional<int32_t> code, std::string_view text) {
  std::string words = letter == ANY_OTHER_LETTER ? "any other" : std::string(1, letter);
  if (code) words += " (code " + std::to_string(*code) + ")";
  return words + ": " + std::string(text);
}

// A term line of the page, such as `.BR i " (code 2)"` or
// `.IR "any other character" " (code 0)"`, read into its letter and code.
std::string TermWords(std::string_view term) {
  const std::string text = testing::Unescaped(term.substr(term.find(' ') + 1));
  const char letter = text[0] == '"' ? ANY_OTHER_LETTER : text[0];
  std::optional<int32_t> code;
  if (const size_t at = text.find("(code "); at != std::string::npos) {
    code = std::stoi(text.substr(at + 6));
  }
  return EntryWords(letter, code, "");
}

// The entries of a subsection: each .TP and .TQ term, with the text lines
// after the last term of its group.
std::vector<std::string> EntriesOnPage(std::string_view section) {
  std::vector<std::string> entries;
  std::vector<std::string> terms;
  std::string text;
  bool termNext = false;
  const auto finish = [&] {
    for (const std::string& term : terms) entries.push_back(term + text);
    terms.clear();
    text.clear();
  };
  for (size_t begin = 0; begin < section.size();) {
    const size_t end = std::min(section.find('\n', begin), section.size());
    const std::string_view line = section.substr(begin, end - begin);
    begin = end + 1;
    if (termNext) {
      terms.push_back(TermWords(line));
      termNext = false;
    } else if (line == ".TQ") {
      termNext = true;
    } else if (line.starts_with(".")) {
      finish();
      termNext = line == ".TP";
    } else if (!terms.empty()) {
      text += (text.empty() ? "" : " ") + testing::Unescaped(line);
    }
  }
  finish();
  return entries;
}

TEST(LetterDocs, ThePageTellsWhatTheTableTells) {
  const std::string page = testing::PageSource("fxt.5");
  for (const LetterRole role : kRoles) {
    std::vector<std::string> table;
    for (const LetterDoc& doc : LetterDocs(role)) {
      const std::optional<int32_t> code =
          doc.code == NO_CODE ? std::nullopt : std::optional<int32_t>(doc.code);
      table.push_back(EntryWords(doc.letter, code, doc.text));
    }
    EXPECT_EQ(EntriesOnPage(testing::Subsection(page, HeadingOnPage(role))), table)
        << HeadingOnPage(role);
  }
}

class IdRecorder : public ReportTarget {
 public:
  void Report(const Diagnostic& diagnostic) override { ids.push_back(diagnostic.id); }
  bool Reported(DiagnosticId id) const { return std::ranges::find(ids, id) != ids.end(); }
  std::vector<DiagnosticId> ids;
};

constexpr std::string_view kHeader =
    "fixture\nname=\"Spot\"\nversion=1.0\nmanufacturer=\"Generic\"\n"
    "attribute\nname=\"PAN\"\nchannel=1\n";
constexpr std::string_view kParameter =
    "parameter\nname=\"-PAN-\"\ntype=f\nattriblist=1\ndisplayernum=1\n";

// Every byte that the reader can leave where a letter stands: no blank, no
// upper case, no quote, and no '/', which begins a remark.
std::vector<char> LetterCandidates() {
  std::vector<char> candidates;
  for (char c = '!'; c <= '~'; ++c) {
    if (c != '"' && c != '/' && !(c >= 'A' && c <= 'Z')) candidates.push_back(c);
  }
  return candidates;
}

bool Documented(LetterRole role, char letter) { return LetterDocOf(role, letter).letter == letter; }

struct Loaded {
  IdRecorder target;
  LoadOutcome outcome;
};

std::unique_ptr<Loaded> Load(const std::string& text) {
  auto loaded = std::make_unique<Loaded>();
  loaded->outcome = RunLoad(BytesOf(text), &loaded->target);
  return loaded;
}

// Where each role's letter is written, what the model keeps of it, and what
// the grammar says of a letter that has no entry of its own.
struct LetterPlace {
  LetterRole role;
  std::string (*templateWith)(const std::string& letter);
  int32_t (*storedCode)(const FixtureTemplate& fixture);
  DiagnosticId refusal;
};

const LetterPlace kPlaces[] = {
    {LetterRole::kAttributeKind,
     [](const std::string& letter) { return std::string(kHeader) + "type=" + letter + "\nend\n"; },
     [](const FixtureTemplate& fixture) -> int32_t { return fixture.firstAttribute.kind; },
     DiagnosticId::kInvalidAttributeType},
    {LetterRole::kParameterKind,
     [](const std::string& letter) {
       return std::string(kHeader) + "parameter\ntype=" + letter + "\nend\n";
     },
     [](const FixtureTemplate& fixture) { return fixture.firstParameter.kind; },
     DiagnosticId::kInvalidParameterType},
    // The display form, which every other mode refuses after storing its code.
    {LetterRole::kStopMode,
     [](const std::string& letter) {
       return std::string(kHeader) + std::string(kParameter) + "stop=(m10)," + letter +
              ",0,10,\"Red\"\nend\n";
     },
     [](const FixtureTemplate& fixture) { return fixture.firstParameter.firstStop.mode; },
     DiagnosticId::kInvalidMode},
};

TEST(LetterDocs, TheGrammarStoresTheDocumentedCodes) {
  for (const LetterPlace& place : kPlaces) {
    for (const char c : LetterCandidates()) {
      const std::string letter(1, c);
      const auto loaded = Load(place.templateWith(letter));
      EXPECT_EQ(place.storedCode(*loaded->outcome.fixture), LetterDocOf(place.role, c).code)
          << LetterRoleName(place.role) << " " << letter;
      EXPECT_EQ(loaded->target.Reported(place.refusal), !Documented(place.role, c))
          << LetterRoleName(place.role) << " " << letter;
    }
  }
}

TEST(LetterDocs, TheGrammarTakesTheDocumentedMarks) {
  // Besides the marks, a value holds digits, a to f, x and ':'; ',' and ')'
  // end it.
  constexpr std::string_view kPartsOfValues = "0123456789abcdefx:,)";
  for (const char c : LetterCandidates()) {
    const std::string letter(1, c);
    const auto loaded = Load(std::string(kHeader) + std::string(kParameter) + "stop=(10" + letter +
                             "),n,\"Red\"\nend\n");
    EXPECT_EQ(
        loaded->target.Reported(DiagnosticId::kSlotIllegalCharacter),
        kPartsOfValues.find(c) == std::string_view::npos && !Documented(LetterRole::kValueMark, c))
        << letter;
  }
}

// The tester's text of a message, without its "ERROR - line %d: " or
// "WARNING - " opening.
std::string_view MessageText(std::string_view format) {
  const size_t line = format.find("%d: ");
  if (line != std::string_view::npos) return format.substr(line + 4);
  return format.substr(format.find(" - ") + 3);
}

bool IsQuotable(std::string_view quoted) {
  for (const CatalogueEntry& entry : Catalogue) {
    if (!IsLintRule(entry) && MessageText(entry.format) == quoted) return true;
  }
  const auto inTable = [&](NameTable table) {
    return std::ranges::any_of(table, [&](std::string_view name) { return name == quoted; });
  };
  return inTable(AttributeTypeNames) || inTable(DisplayLabels);
}

TEST(LetterDocs, QuoteTheCataloguesMessagesAndTheTablesNames) {
  for (const LetterRole role : kRoles) {
    for (const LetterDoc& doc : LetterDocs(role)) {
      for (size_t open = doc.text.find('"'); open != std::string_view::npos;) {
        const size_t close = doc.text.find('"', open + 1);
        ASSERT_NE(close, std::string_view::npos) << doc.text;
        const std::string_view quoted = doc.text.substr(open + 1, close - open - 1);
        EXPECT_TRUE(IsQuotable(quoted)) << quoted;
        open = doc.text.find('"', close + 1);
      }
    }
  }
}

// The letters that an entry's short text names after its colon: "invalid
// mode: n, b, w, 1, 2, 3 or d".
std::set<char> LettersNamedBy(DiagnosticId id) {
  std::string_view summary = EntryOf(id).summary;
  summary.remove_prefix(summary.find(": ") + 2);
  std::set<char> letters;
  for (size_t i = 0; i < summary.size(); ++i) {
    const bool startsWord = i == 0 || summary[i - 1] == ' ';
    const bool endsWord = i + 1 == summary.size() || summary[i + 1] == ',' || summary[i + 1] == ' ';
    if (startsWord && endsWord) letters.insert(summary[i]);
  }
  return letters;
}

std::set<char> DocumentedLetters(LetterRole role) {
  std::set<char> letters;
  for (const LetterDoc& doc : LetterDocs(role)) {
    if (doc.letter != ANY_OTHER_LETTER) letters.insert(doc.letter);
  }
  return letters;
}

TEST(LetterDocs, TheCatalogueNamesTheSameLetters) {
  EXPECT_EQ(LettersNamedBy(DiagnosticId::kInvalidAttributeType),
            DocumentedLetters(LetterRole::kAttributeKind));
  EXPECT_EQ(LettersNamedBy(DiagnosticId::kInvalidParameterType),
            DocumentedLetters(LetterRole::kParameterKind));
  EXPECT_EQ(LettersNamedBy(DiagnosticId::kInvalidMode), DocumentedLetters(LetterRole::kStopMode));
}

}  // namespace
}  // namespace fxt
