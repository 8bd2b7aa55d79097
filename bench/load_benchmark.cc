// How fast a load checks a template held in memory, with no report
// target, in bytes per second; and, in the same run, how much longer each
// input takes per byte than the realistic one. The reader alone, on the
// realistic input, shows how the time divides.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/generators.h"
#include "load/run_load.h"
#include "reader/line_reader.h"
#include "reader/parse_context.h"

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

// The reader alone on the realistic 10 MB: every line read, none handled.
// What a load costs beyond it is the grammar's and the model's.
void BM_ReaderAlone(benchmark::State& state) {
  const std::string text = fxt::bench::RealisticTemplates(10 * kMegabyte);
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop idiom
    fxt::parseContext = fxt::ParseContext{};
    fxt::SetInput(fxt::BytesOf(text));
    size_t lengths = 0;
    while (fxt::ReadTemplateLine()) lengths += fxt::parseContext.lineLength;
    benchmark::DoNotOptimize(lengths);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ReaderAlone)->Unit(benchmark::kMillisecond);

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

// Reports as the console does, then sets each input's time per byte beside
// that of the realistic 10 MB input (the median, when runs are repeated).
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      const auto bytes = run.counters.find("bytes_per_second");
      if ((single || median) && bytes != run.counters.end()) {
        rates_.push_back({run.run_name.str(), bytes->second.value});
      }
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    double realistic = 0;
    for (const Rate& rate : rates_) {
      if (rate.name == "BM_Realistic/10") realistic = rate.bytesPerSecond;
    }
    if (realistic == 0) return;
    // The same megabytes of 2^20 bytes as the benchmark's own figures.
    std::printf("\n%-44s %10s %14s\n", "input", "MB/s", "per byte, x");
    for (const Rate& rate : rates_) {
      std::printf("%-44s %10.0f %14.2f\n", rate.name.c_str(), rate.bytesPerSecond / kMegabyte,
                  realistic / rate.bytesPerSecond);
    }
  }

 private:
  struct Rate {
    std::string name;
    double bytesPerSecond;
  };
  std::vector<Rate> rates_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
