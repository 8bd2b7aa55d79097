// How fast a load checks a template held in memory, with no report
// target, in bytes per second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "bench/generators.h"
#include "load/run_load.h"

namespace {

constexpr size_t kMegabyte = 1 << 20;

void LoadRepeatedly(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop idiom
    benchmark::DoNotOptimize(fxt::RunLoad(fxt::BytesOf(text), nullptr).result);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void BM_Realistic(benchmark::State& state) {
  LoadRepeatedly(state,
                 fxt::bench::RealisticTemplates(static_cast<size_t>(state.range(0)) * kMegabyte));
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
