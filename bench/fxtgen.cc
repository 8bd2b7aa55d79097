// fxtgen: writes a generated template to stdout, for size and memory tests.
//   fxtgen KIND BYTES      KIND: realistic, or one of the adversarial inputs
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/generators.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: fxtgen KIND BYTES\nKIND: realistic");
    for (const auto& generator : fxt::bench::AdversarialGenerators()) {
      std::fprintf(stderr, ", %s", generator.name);
    }
    std::fprintf(stderr, "\n");
    return 2;
  }
  const size_t bytes = std::strtoull(argv[2], nullptr, 10);
  std::string text;
  if (std::strcmp(argv[1], "realistic") == 0) text = fxt::bench::RealisticTemplates(bytes);
  for (const auto& generator : fxt::bench::AdversarialGenerators()) {
    if (std::strcmp(argv[1], generator.name) == 0) text = generator.make(bytes);
  }
  if (text.empty()) {
    std::fprintf(stderr, "fxtgen: unknown kind %s\n", argv[1]);
    return 2;
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}
