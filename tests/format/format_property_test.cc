// The formatter's promise, tried on thousands of templates: the benchmark's
// generated ones, and mutations of every template among the examples and
// the whole-program cases, written as carelessly as people write them. For
// each, the laid-out text draws the same report, line numbers included, and
// the same model, and laying it out again changes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bench/generators.h"
#include "format/format_template.h"
#include "format/same_reading.h"

namespace fxt {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<std::string> Seeds() {
  std::vector<std::string> seeds;
  const std::filesystem::path source = FXT_SOURCE_DIR;
  std::vector<std::filesystem::path> paths;
  for (const char* folder : {"examples", "tests/cli"}) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(source / folder)) {
      if (entry.path().extension() == ".fxt") paths.push_back(entry.path());
    }
  }
  std::sort(paths.begin(), paths.end());
  for (const auto& path : paths) seeds.push_back(ReadFile(path));
  seeds.push_back(bench::RealisticTemplates(3000));
  for (const bench::Generator& generator : bench::AdversarialGenerators()) {
    const std::string text = generator.make(3000);
    seeds.push_back(text.substr(0, 20000));  // the full lists are long
  }
  return seeds;
}

// Rewrites a template as a careless writer might: every line of it, with
// the blanks, letter case, remarks and line ends that the tester may or may
// not care about.
class Mutator {
 public:
  explicit Mutator(uint32_t seed) : random_(seed) {}

  std::string Mutate(std::string_view text) {
    std::string out;
    const bool crlf = Chance(4);
    while (!text.empty()) {
      const size_t end = std::min(text.find('\n'), text.size());
      std::string line(text.substr(0, end));
      text.remove_prefix(std::min(end + 1, text.size()));
      if (!line.empty() && line.back() == '\r') line.pop_back();
      MutateLine(line);
      out += line;
      if (!text.empty() || Chance(2)) out += crlf && !Chance(20) ? "\r\n" : "\n";
    }
    if (Chance(5)) out += std::string(Pick(3), '\n') + (Chance(2) ? "  \t\n" : "");
    if (Chance(30)) out.insert(Pick(out.size() + 1), 1, '\xFF');
    return out;
  }

 private:
  std::mt19937 random_;

  size_t Pick(size_t below) { return below == 0 ? 0 : random_() % below; }
  bool Chance(size_t oneIn) { return Pick(oneIn) == 0; }

  std::string Blanks() {
    static const char* const kBlanks[] = {"", " ", "  ", "\t", " \t ", "    "};
    return kBlanks[Pick(std::size(kBlanks))];
  }

  void MutateLine(std::string& line) {
    std::string out = Blanks();
    bool quoted = false;
    for (const char c : line) {
      if (c == '"') quoted = !quoted;
      const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
      char written = c;
      if (letter && Chance(quoted ? 40 : 4)) written = static_cast<char>(c ^ 0x20);
      if (!quoted && (c == '=' || c == ',' || c == '(' || c == ')' || c == ':')) {
        out += Blanks() + written + Blanks();
      } else if (!quoted && c == ' ' && Chance(2)) {
        out += Blanks();
      } else {
        out += written;
      }
      if (!quoted && letter && Chance(60)) out += ' ';
    }
    line = out;
    MutateEnds(line);
  }

  // The rarer changes that the reader minds: remarks, stray bytes, a '*'
  // first, quotes, and lines near or past the 99 bytes it reads as one.
  void MutateEnds(std::string& line) {
    switch (Pick(24)) {
      case 0:
        line += Blanks() + "/ a remark" + Blanks();
        break;
      case 1:
        line += "  / \"quoted\" remark, (1,2)";
        break;
      case 2:
        line.insert(0, "*");
        break;
      case 3:
        line.insert(Pick(line.size() + 1), 1, '\r');
        break;
      case 4:
        line.insert(Pick(line.size() + 1), 1, '\0');
        break;
      case 5:
        line.insert(Pick(line.size() + 1), 1, '"');
        break;
      case 6:
        line += std::string(90 + Pick(15) - std::min<size_t>(line.size(), 90), ' ');
        break;
      case 7:
        line = std::string(Pick(100), ' ') + line;
        break;
      case 8:
        line += Blanks() + "/" + std::string(Pick(120), '-');
        break;
      default:
        if (Chance(3)) line += Blanks();
    }
  }
};

TEST(FormatProperty, TheLaidOutTextReadsAsTheOriginalAndStaysAsItIs) {
  const std::vector<std::string> seeds = Seeds();
  size_t tried = 0;
  size_t changed = 0;
  // The case's seed and mutation, so that a failure can be made again.
  const auto check = [&](const std::string& text, int indent, const std::string& which) {
    FormatOptions options;
    options.indent = indent;
    const Formatting formatting = FormatTemplate(text, options);
    ++tried;
    if (formatting.edits.empty()) return;
    ++changed;
    const std::string& laidOut = formatting.laidOut;
    ASSERT_TRUE(ApplyEdits(text, formatting.edits) == laidOut) << which << " edits otherwise";
    ASSERT_TRUE(SameReading(text, laidOut)) << which << " reads otherwise";
    ASSERT_TRUE(FormattedText(laidOut, options) == laidOut) << which << " changes again";
  };
  for (size_t s = 0; s < seeds.size(); ++s) {
    const std::string seed = "seed " + std::to_string(s);
    check(seeds[s], 2, seed);
    Mutator mutator(static_cast<uint32_t>(s));
    for (int n = 0; n < 24; ++n) {
      check(mutator.Mutate(seeds[s]), n % 4 == 0 ? 4 : 2, seed + ", mutation " + std::to_string(n));
    }
  }
  EXPECT_GT(tried, 2500u);
  EXPECT_GT(changed, tried / 2);
}

}  // namespace
}  // namespace fxt
