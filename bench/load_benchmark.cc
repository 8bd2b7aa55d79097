// How fast LoadTemplate checks a template held in memory, with no report
// target, in bytes per second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bench/generators.h"
#include "reader/input_file.h"
#include "reader/load_template.h"
#include "reader/parse_context.h"

namespace {

constexpr size_t kMegabyte = 1 << 20;

void LoadRepeatedly(benchmark::State& state, const std::string& text) {
  const std::vector<uint8_t> input =
      fxt::MakeInputBuffer({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
  for (auto _ : state) {
    fxt::SetInput(input);
    benchmark::DoNotOptimize(fxt::LoadTemplate(nullptr, 1));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  fxt::ResetProcessState();
}

void BM_Realistic(benchmark::State& state) {
  LoadRepeatedly(state, fxt::bench::RealisticTemplates(state.range(0) * kMegabyte));
}
BENCHMARK(BM_Realistic)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_Adversarial(benchmark::State& state, fxt::bench::Generator generator) {
  LoadRepeatedly(state, generator.make(10 * kMegabyte));
}

const bool kRegistered = [] {
  for (const fxt::bench::Generator& generator : fxt::bench::AdversarialGenerators()) {
    benchmark::RegisterBenchmark((std::string("BM_Adversarial/") + generator.name).c_str(),
                                 BM_Adversarial, generator)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
