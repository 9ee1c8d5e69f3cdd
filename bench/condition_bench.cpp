// Speed of conditional RIB's expressions: a typical IfBegin expression, and
// the glob match of =~ over 1 MiB of text with a middle piece of 8, 64 and
// 200 bytes that nearly matches everywhere (the case that makes a
// backtracking matcher quadratic), beside glibc's fnmatch on 64 KiB.
#include <benchmark/benchmark.h>
#include <fnmatch.h>

#include <string>

#include "reader/condition.h"
#include "reader/glob_match.h"

namespace {

void typicalExpression(benchmark::State &state) {
  const std::string shot = "s01", frame = "12";
  const vellum::VariableLookup lookup = [&](const std::string &name) -> const std::string * {
    return name == "shot" ? &shot : name == "frame" ? &frame : nullptr;
  };
  const std::string expression = "$shot =~ 's0*' && ($frame + 1) % 2 == 1 || defined(take)";
  for (auto _ : state)
    benchmark::DoNotOptimize(vellum::evaluateCondition(expression, lookup, uint64_t{4} << 20));
}
BENCHMARK(typicalExpression);

void nearMissGlob(benchmark::State &state) {
  const std::string text(1 << 20, 'a');
  const std::string pattern = "*" + std::string(state.range(0), 'a') + "b*";
  for (auto _ : state) benchmark::DoNotOptimize(vellum::matchGlob(pattern, text, uint64_t{1} << 40));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(nearMissGlob)->Arg(8)->Arg(64)->Arg(200);

void nearMissFnmatch(benchmark::State &state) {
  const std::string text(1 << 16, 'a');
  const std::string pattern = "*" + std::string(state.range(0), 'a') + "b*";
  for (auto _ : state) benchmark::DoNotOptimize(fnmatch(pattern.c_str(), text.c_str(), 0));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(nearMissFnmatch)->Arg(8)->Arg(64)->Arg(200);

}  // namespace
