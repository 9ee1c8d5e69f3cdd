// Number text: vellum's float and integer formatters beside std::to_chars
// and snprintf, each writing the same fixed array of 100,000 values.  The
// floats carry full 24-bit significands and spread over 10^-8 .. 10^8 with
// both signs; the integers over 1 to 10 digits with both signs.  The array
// functions (formatFloatsSpaced, formatIntsSpaced) take the same values in
// one call, and formatIntsSpaced also the indices of a quad mesh.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include "common/number_format.h"

namespace {

constexpr int kValues = 100000;

const std::vector<float> &floats() {
  static const std::vector<float> values = [] {
    std::mt19937 random(20261207);
    std::uniform_real_distribution<float> lead(1.0f, 10.0f);
    std::uniform_int_distribution<int> decade(-8, 8);
    std::bernoulli_distribution negative(0.5);
    std::vector<float> v;
    v.reserve(kValues);
    for (int i = 0; i < kValues; ++i) {
      float value = lead(random) * std::pow(10.0f, static_cast<float>(decade(random)));
      v.push_back(negative(random) ? -value : value);
    }
    return v;
  }();
  return values;
}

const std::vector<int32_t> &ints() {
  static const std::vector<int32_t> values = [] {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> digits(1, 10);
    std::bernoulli_distribution negative(0.5);
    std::vector<int32_t> v;
    v.reserve(kValues);
    for (int i = 0; i < kValues; ++i) {
      // Below 10^d for d digits; ten digits go up to INT32_MAX.
      int64_t limit = 1;
      for (int d = digits(random); d > 0; --d) limit *= 10;
      if (limit > INT32_MAX) limit = INT64_C(1) + INT32_MAX;
      const int64_t magnitude = std::uniform_int_distribution<int64_t>(0, limit - 1)(random);
      v.push_back(static_cast<int32_t>(negative(random) ? -magnitude : magnitude));
    }
    return v;
  }();
  return values;
}

// The vertex indices of a mesh of 1000 x 1000 quads, four a face, as a
// writer sends them: runs of numbers of one length.
const std::vector<int32_t> &meshIndices() {
  static const std::vector<int32_t> values = [] {
    std::vector<int32_t> v;
    constexpr int kSide = 1000;
    v.reserve(4 * kSide * kSide);
    for (int row = 0; row < kSide; ++row)
      for (int column = 0; column < kSide; ++column) {
        const int corner = row * (kSide + 1) + column;
        v.insert(v.end(), {corner, corner + 1, corner + kSide + 2, corner + kSide + 1});
      }
    return v;
  }();
  return values;
}

// Formats every value of `values` with `format` per iteration; counts the
// bytes so that nothing is optimised away.
template <typename Value, typename Format>
void formatAll(benchmark::State &state, const std::vector<Value> &values, Format format) {
  char buffer[64];
  for (auto _ : state) {
    size_t bytes = 0;
    for (Value value : values) {
      char *end = format(value, buffer);
      benchmark::DoNotOptimize(buffer);
      bytes += static_cast<size_t>(end - buffer);
    }
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(values.size()));
}

void FloatG_vellum(benchmark::State &state) {
  formatAll(state, floats(), [](float v, char *out) { return vellum::formatFloatG(v, out); });
}
void FloatG_toChars(benchmark::State &state) {
  formatAll(state, floats(), [](float v, char *out) {
    return std::to_chars(out, out + 64, static_cast<double>(v), std::chars_format::general, 6).ptr;
  });
}
void FloatG_snprintf(benchmark::State &state) {
  formatAll(state, floats(), [](float v, char *out) {
    return out + std::snprintf(out, 64, "%g", static_cast<double>(v));
  });
}
void FloatShortest_vellum(benchmark::State &state) {
  formatAll(state, floats(), [](float v, char *out) { return vellum::formatFloatShortest(v, out); });
}
void FloatShortest_toChars(benchmark::State &state) {
  formatAll(state, floats(), [](float v, char *out) { return std::to_chars(out, out + 64, v).ptr; });
}
void FloatDigits9_vellum(benchmark::State &state) {
  formatAll(state, floats(), [](float v, char *out) { return vellum::formatFloatDigits(v, 9, out); });
}
void FloatDigits9_snprintf(benchmark::State &state) {
  formatAll(state, floats(), [](float v, char *out) {
    return out + std::snprintf(out, 64, "%.9g", static_cast<double>(v));
  });
}
// The whole array in one call, a blank after each value.
void FloatsSpacedG_vellum(benchmark::State &state) {
  const std::vector<float> &values = floats();
  std::vector<char> buffer(vellum::kFloatSpacedSize * values.size() + vellum::kFloatTextSize);
  for (auto _ : state) {
    char *end = vellum::formatFloatsSpaced(values.data(), values.size(), 6, buffer.data());
    benchmark::DoNotOptimize(end);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(values.size()));
}
// formatIntsSpaced over a whole array, in blocks of 1024 values into one
// buffer that stays in the cache, as the RIB writer does.
void intsSpaced(benchmark::State &state, const std::vector<int32_t> &values) {
  constexpr size_t kBlock = 1024;
  std::vector<char> buffer(12 * kBlock + vellum::kIntTextSize);
  for (auto _ : state) {
    for (size_t i = 0; i < values.size(); i += kBlock) {
      const size_t count = values.size() - i < kBlock ? values.size() - i : kBlock;
      char *end = vellum::formatIntsSpaced(values.data() + i, count, buffer.data());
      benchmark::DoNotOptimize(end);
      benchmark::ClobberMemory();
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(values.size()));
}
void IntsSpaced_vellum(benchmark::State &state) { intsSpaced(state, ints()); }
void IntsSpacedMesh_vellum(benchmark::State &state) { intsSpaced(state, meshIndices()); }
void Int_vellum(benchmark::State &state) {
  formatAll(state, ints(), [](int32_t v, char *out) { return vellum::formatInt(v, out); });
}
void Int_toChars(benchmark::State &state) {
  formatAll(state, ints(), [](int32_t v, char *out) { return std::to_chars(out, out + 64, v).ptr; });
}
void Int_snprintf(benchmark::State &state) {
  formatAll(state, ints(), [](int32_t v, char *out) { return out + std::snprintf(out, 64, "%d", v); });
}

BENCHMARK(FloatG_vellum);
BENCHMARK(FloatG_toChars);
BENCHMARK(FloatG_snprintf);
BENCHMARK(FloatShortest_vellum);
BENCHMARK(FloatShortest_toChars);
BENCHMARK(FloatsSpacedG_vellum);
BENCHMARK(FloatDigits9_vellum);
BENCHMARK(FloatDigits9_snprintf);
BENCHMARK(Int_vellum);
BENCHMARK(Int_toChars);
BENCHMARK(Int_snprintf);
BENCHMARK(IntsSpaced_vellum);
BENCHMARK(IntsSpacedMesh_vellum);

}  // namespace
