#include "bench/generators.h"

#include <fstream>
#include <sstream>

namespace fxt::bench {
namespace {

std::string Repeat(std::string_view block, size_t bytes, std::string_view head = "",
                   std::string_view tail = "") {
  std::string text(head);
  text.reserve(bytes + block.size() + tail.size());
  do {
    text += block;
  } while (text.size() + tail.size() < bytes);
  return text += tail;
}

std::string ReadExample(const char* name) {
  std::ifstream file(std::string(FXT_EXAMPLES_DIR) + "/" + name, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string WithoutEndLine(const std::string& text) {
  const size_t end = text.rfind("\nend");
  return end == std::string::npos ? text : text.substr(0, end + 1);
}

std::string Numbers(int from, int to) {
  std::string list;
  for (int n = from; n <= to; ++n) {
    if (n != from) list += ',';
    list += std::to_string(n);
  }
  return list;
}

std::string PaddedTo99(std::string line) {
  line.resize(99, ' ');
  return line + "\n";
}

}  // namespace

std::string RealisticTemplates(size_t bytes) {
  static const std::string copy = WithoutEndLine(ReadExample("spot-575.fxt"));
  return Repeat(copy, bytes, "", "end\n");
}

std::string ManyFixtures(size_t bytes) {
  std::string block = "fixture\nname=\"F\"\nmanufacturer=\"Robe\"\n";
  for (int channel = 1; channel <= 8; ++channel) {
    block += "attribute\nchannel=" + std::to_string(channel) + "\n";
  }
  for (int displayer = 1; displayer <= 4; ++displayer) {
    block += "parameter\ntype=c\nattriblist=1,2,3,8\ndisplayernum=" + std::to_string(displayer) +
             "\nstop=(m1,2,3,4),w,\"Red\"\nstop=(1,2,3,4),n,\"Blue\"\n";
  }
  return Repeat(block, bytes, "", "end\n");
}

std::string FullLists(size_t) {
  std::string text = "fixture\nname=\"Full\"\nversion=1.0\nmanufacturer=\"Generic\"\n";
  text += "attribute\nname=\"INTENSITY\"\nchannel=1\n";
  for (int number = 2; number <= 255; ++number) {
    text += number <= 64 ? "attribute\nchannel=" + std::to_string(number) + "\n" : "attribute\n";
  }
  const std::string list = Numbers(2, 20);
  const std::string stop = "stop=(m" + list + "),w,\"Red\"\n";
  for (int displayer = 0; displayer <= 255; ++displayer) {
    if (displayer == 30) continue;
    text += "parameter\ntype=c\nattriblist=" + list +
            "\ndisplayernum=" + std::to_string(displayer) + "\n";
    for (int n = 0; n < 255; ++n) text += stop;
  }
  return text + "end\n";
}

std::string LongLines(size_t bytes) {
  std::string head = "fixture\nname=\"Long\"\nmanufacturer=\"Generic\"\n";
  for (int channel = 1; channel <= 64; ++channel) {
    head += "attribute\nchannel=" + std::to_string(channel) + "\n";
  }
  head += "parameter\ntype=c\ndisplayernum=1\n" + PaddedTo99("attriblist=" + Numbers(1, 19));
  std::string block;
  block += PaddedTo99("stop=(m1:255,2:0x20,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19),w,\"Red\"");
  block += PaddedTo99("name=\"" + std::string(90, 'n') + "\"");
  block += PaddedTo99("/" + std::string(98, '/'));
  block += PaddedTo99(std::string(98, 'x'));
  return Repeat(block, bytes, head, "end\n");
}

std::string FarEndOfFullLists(size_t bytes) {
  std::string head = "fixture\nname=\"Far\"\nversion=1.0\nmanufacturer=\"Generic\"\n";
  for (int number = 1; number <= 255; ++number) {
    const int channel = number - 191;  // the last 64 attributes take channels 1 to 64
    head += channel >= 1 ? "attribute\nchannel=" + std::to_string(channel) + "\n" : "attribute\n";
  }
  for (int displayer = 0; displayer <= 255; ++displayer) {
    if (displayer != 30)
      head += "parameter\ntype=c\ndisplayernum=" + std::to_string(displayer) + "\n";
  }
  const std::string list = Numbers(46, 64);
  const std::string block =
      "attriblist=" + list + "\nstop=(m" + list + "),w,\"Red\"\ndisplayernum=200\nattriblist=64\n";
  return Repeat(block, bytes, head, "end\n");
}

std::string ReplacedParameters(size_t bytes) {
  std::string head = "fixture\nattribute\nchannel=1\n";
  for (int displayer = 0, added = 0; added < 253; ++displayer) {
    if (displayer == 30) continue;
    head += "parameter\ntype=c\ndisplayernum=" + std::to_string(displayer) + "\n";
    ++added;
  }
  return Repeat("parameter\n", bytes, head, "end\n");
}

std::string RepeatedReports(size_t bytes) {
  std::string head = "fixture\nattribute\nchannel=1\n";
  for (int n = 1; n <= 200; ++n) head += "parameter\ntype=c\ndisplayernum=7\n";
  const std::string block = "attriblist=" + std::string(88, ',') + "\ndisplayernum=7\n";
  return Repeat(block, bytes, head, "end\n");
}

const std::vector<Generator>& AdversarialGenerators() {
  static const std::vector<Generator> generators = {
      {"many-fixtures", ManyFixtures},
      {"full-lists", FullLists},
      {"long-lines", LongLines},
      {"far-end-of-full-lists", FarEndOfFullLists},
      {"replaced-parameters", ReplacedParameters},
      {"repeated-reports", RepeatedReports},
  };
  return generators;
}

}  // namespace fxt::bench
