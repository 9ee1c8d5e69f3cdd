// float_format_check: compares vellum's float formatters with the C library
// on float bit patterns, NaN and infinity skipped.
//
//   float_format_check --all          every one of the 2^32 patterns
//   float_format_check --stride N     every Nth pattern and a fixed list of
//                                     edge values
//   --digits LIST   the precisions P checked as "%.Pg", e.g. "1,6,9" (the
//                   default with --all) or "1-9" (the default otherwise)
//   --no-fixed      skip the "%f" comparison of formatFixed
//   --fixed-only    only that comparison (--all in two runs, each shorter)
//   --threads N     worker threads (default 2)
//   --progress      report every 5% of the patterns, with the differences
//                   found so far, on standard error
//
// For each pattern: formatFloatG must equal snprintf("%g"),
// formatFloatDigits(P) snprintf("%.Pg"), formatFixed snprintf("%f"); the
// text of formatFloatShortest must read back through strtof as the same
// bits, be no longer than "%.9g", and have the digits and exponent that
// std::to_chars(float, scientific) writes (the shortest that read back,
// the nearest of them).  formatFloatsSpaced of the one value, for digits 6
// and 0, must be the text of formatFloatG or formatFloatShortest and a
// blank.  Prints the number of patterns checked and of differences with
// the first examples; exits with 1 on any difference.
#include <atomic>
#include <charconv>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "common/number_format.h"

namespace {

constexpr size_t kExamplesKept = 10;

struct Options {
  bool all = false;
  uint64_t stride = 0;
  std::vector<int> digitCounts;
  bool fixed = true;
  bool fixedOnly = false;
  bool progress = false;
  int threads = 2;
};

struct Tally {
  uint64_t checked = 0;
  uint64_t differences = 0;
  std::vector<std::string> examples;

  void difference(uint32_t bits, const char *what, const char *ours, const char *reference) {
    ++differences;
    if (examples.size() >= kExamplesKept) return;
    char line[256];
    std::snprintf(line, sizeof line, "0x%08x %s: \"%.60s\", expected %.60s", bits, what, ours,
                  reference);
    examples.push_back(line);
  }
};

float fromBits(uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

uint32_t toBits(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// A number's text as its significant digits (from the first non-zero
// digit to the last) and the decimal exponent of the first: "0.0015",
// "1500e-6" and "1.5e-03" are all "15e-3"; zero is "0".
std::string digitsAndExponent(const char *text) {
  std::string digits;
  int integerDigits = -1;  // digits before the point, once it is seen
  const char *p = text;
  for (; *p != '\0' && *p != 'e'; ++p) {
    if (*p == '.') integerDigits = static_cast<int>(digits.size());
    if (*p >= '0' && *p <= '9') digits.push_back(*p);
  }
  if (integerDigits < 0) integerDigits = static_cast<int>(digits.size());
  const size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return "0";
  const int exponent = integerDigits - 1 - static_cast<int>(first) + (*p == 'e' ? std::atoi(p + 1) : 0);
  return digits.substr(first, digits.find_last_not_of('0') - first + 1) + "e" +
         std::to_string(exponent);
}

void checkPattern(uint32_t bits, const Options &options, Tally &tally) {
  const float value = fromBits(bits);
  if (!std::isfinite(value)) return;
  ++tally.checked;
  const double wide = value;
  char ours[vellum::kFixedFloatTextSize + 1];
  char reference[512];
  if (options.fixedOnly) {
    *vellum::formatFixed(value, ours) = '\0';
    std::snprintf(reference, sizeof reference, "%f", wide);
    if (std::strcmp(ours, reference) != 0) tally.difference(bits, "formatFixed", ours, reference);
    return;
  }

  *vellum::formatFloatG(value, ours) = '\0';
  std::snprintf(reference, sizeof reference, "%g", wide);
  if (std::strcmp(ours, reference) != 0) tally.difference(bits, "formatFloatG", ours, reference);

  char nine[32];
  std::snprintf(nine, sizeof nine, "%.9g", wide);
  for (int digits : options.digitCounts) {
    *vellum::formatFloatDigits(value, digits, ours) = '\0';
    if (digits == 9)
      std::strcpy(reference, nine);
    else
      std::snprintf(reference, sizeof reference, "%.*g", digits, wide);
    if (std::strcmp(ours, reference) != 0) {
      char what[32];
      std::snprintf(what, sizeof what, "formatFloatDigits(%d)", digits);
      tally.difference(bits, what, ours, reference);
    }
  }

  *vellum::formatFloatShortest(value, ours) = '\0';
  char *end = nullptr;
  const float back = std::strtof(ours, &end);
  if (end != ours + std::strlen(ours) || toBits(back) != bits) {
    tally.difference(bits, "formatFloatShortest (reads back otherwise)", ours, nine);
  } else if (std::strlen(ours) > std::strlen(nine)) {
    tally.difference(bits, "formatFloatShortest (longer than %.9g)", ours, nine);
  } else {
    char shortest[64];
    *std::to_chars(shortest, shortest + sizeof shortest, value, std::chars_format::scientific)
         .ptr = '\0';
    if (digitsAndExponent(ours) != digitsAndExponent(shortest))
      tally.difference(bits, "formatFloatShortest (digits)", ours, shortest);
  }
  const size_t shortestLength = std::strlen(ours);

  char spaced[vellum::kFloatSpacedSize + vellum::kFloatTextSize];
  char *spacedEnd = vellum::formatFloatsSpaced(&value, 1, 0, spaced);
  if (std::string(spaced, spacedEnd) != std::string(ours, shortestLength) + " ")
    tally.difference(bits, "formatFloatsSpaced(0)", std::string(spaced, spacedEnd).c_str(), ours);
  *vellum::formatFloatG(value, ours) = '\0';
  spacedEnd = vellum::formatFloatsSpaced(&value, 1, 6, spaced);
  if (std::string(spaced, spacedEnd) != std::string(ours) + " ")
    tally.difference(bits, "formatFloatsSpaced(6)", std::string(spaced, spacedEnd).c_str(), ours);

  if (options.fixed) {
    *vellum::formatFixed(value, ours) = '\0';
    std::snprintf(reference, sizeof reference, "%f", wide);
    if (std::strcmp(ours, reference) != 0) tally.difference(bits, "formatFixed", ours, reference);
  }
}

// Bit patterns that earn a check whatever the stride: zeros, subnormal
// and normal limits, every power of two and its neighbours (where the gap
// below is half the gap above), and the floats around the decimals where
// "%g" changes form or carries into the next decade.
std::vector<uint32_t> edgePatterns() {
  std::vector<uint32_t> patterns = {0x00000000u, 0x00000001u, 0x00000002u, 0x007fffffu,
                                    0x00800000u, 0x00800001u, 0x7f7ffffeu, 0x7f7fffffu};
  for (uint32_t field = 1; field < 255; ++field) {
    const uint32_t power = field << 23;
    patterns.insert(patterns.end(), {power - 1, power, power + 1});
  }
  const char *const leads[] = {"1",       "9.999995", "9.9999995", "9.99999", "9.5", "5",
                               "1.000005", "1.23455",  "2.5",       "1.5",     "7.5"};
  for (int exponent = -46; exponent <= 38; ++exponent) {
    for (const char *lead : leads) {
      char text[32];
      std::snprintf(text, sizeof text, "%se%d", lead, exponent);
      const float nearest = std::strtof(text, nullptr);
      if (!std::isfinite(nearest) || nearest == 0) continue;
      const uint32_t bits = toBits(nearest);
      for (uint32_t delta = 0; delta <= 2; ++delta) {
        patterns.push_back(bits + delta);
        if (bits >= delta) patterns.push_back(bits - delta);
      }
    }
  }
  for (float value : {999999.5f, 999998.5f, 999999.4f, 0.0001f, 1e-5f, 9.99999e-05f, 1e6f,
                      12345.25f, 12345.75f, 1234565.0f, 1234575.0f, 16777215.0f})
    patterns.push_back(toBits(value));
  const size_t positive = patterns.size();
  for (size_t i = 0; i < positive; ++i) patterns.push_back(patterns[i] | 0x80000000u);
  return patterns;
}

bool parseDigits(const char *text, std::vector<int> &digits) {
  digits.clear();
  const std::string list = text;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t comma = list.find(',', start);
    const std::string item = list.substr(start, comma == std::string::npos ? comma : comma - start);
    int first = 0, last = 0;
    const int matched = std::sscanf(item.c_str(), "%d-%d", &first, &last);
    if (matched == 1)
      last = first;
    else if (matched != 2)
      return false;
    if (first < 1 || last > 9 || first > last) return false;
    for (int d = first; d <= last; ++d) digits.push_back(d);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return !digits.empty();
}

int usage() {
  std::fputs(
      "usage: float_format_check (--all | --stride N) [--digits LIST] [--no-fixed | --fixed-only]\n"
      "                          [--threads N] [--progress]\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char **argv) {
  std::setlocale(LC_ALL, "C");
  Options options;
  const char *digitList = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--all") {
      options.all = true;
    } else if (argument == "--stride" && i + 1 < argc) {
      options.stride = std::strtoull(argv[++i], nullptr, 10);
      if (options.stride == 0) return usage();
    } else if (argument == "--digits" && i + 1 < argc) {
      digitList = argv[++i];
    } else if (argument == "--no-fixed") {
      options.fixed = false;
    } else if (argument == "--fixed-only") {
      options.fixedOnly = true;
    } else if (argument == "--progress") {
      options.progress = true;
    } else if (argument == "--threads" && i + 1 < argc) {
      options.threads = std::atoi(argv[++i]);
      if (options.threads < 1 || options.threads > 64) return usage();
    } else {
      return usage();
    }
  }
  if (options.all == (options.stride != 0) || (options.fixedOnly && !options.fixed)) return usage();
  if (options.all) options.stride = 1;
  if (!parseDigits(digitList != nullptr ? digitList : (options.all ? "1,6,9" : "1-9"),
                   options.digitCounts))
    return usage();

  const auto start = std::chrono::steady_clock::now();
  const uint64_t count = ((UINT64_C(1) << 32) + options.stride - 1) / options.stride;
  // Work is handed out in blocks of patterns, interleaved between the
  // threads, so that each gets its share of slow (large) values.
  constexpr uint64_t kBlock = 1 << 16;
  const uint64_t blocks = (count + kBlock - 1) / kBlock;
  std::atomic<uint64_t> blocksDone{0}, differencesSoFar{0};
  std::vector<Tally> tallies(options.threads);
  std::vector<std::thread> workers;
  for (int t = 0; t < options.threads; ++t) {
    workers.emplace_back([&, t] {
      for (uint64_t block = static_cast<uint64_t>(t) * kBlock; block < count;
           block += static_cast<uint64_t>(options.threads) * kBlock) {
        const uint64_t blockEnd = block + kBlock < count ? block + kBlock : count;
        const uint64_t differencesBefore = tallies[t].differences;
        for (uint64_t index = block; index < blockEnd; ++index)
          checkPattern(static_cast<uint32_t>(index * options.stride), options, tallies[t]);
        differencesSoFar += tallies[t].differences - differencesBefore;
        const uint64_t done = ++blocksDone;
        if (options.progress && done * 20 / blocks != (done - 1) * 20 / blocks) {
          const double elapsed =
              std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
          std::fprintf(stderr, "float_format_check: %llu%% after %.0f s, %llu differences\n",
                       static_cast<unsigned long long>(done * 100 / blocks), elapsed,
                       static_cast<unsigned long long>(differencesSoFar.load()));
        }
      }
    });
  }
  for (std::thread &worker : workers) worker.join();

  Tally total;
  for (const Tally &tally : tallies) {
    total.checked += tally.checked;
    total.differences += tally.differences;
    total.examples.insert(total.examples.end(), tally.examples.begin(), tally.examples.end());
  }
  if (!options.all)
    for (uint32_t bits : edgePatterns()) checkPattern(bits, options, total);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  std::string digits;
  for (int d : options.digitCounts) digits += (digits.empty() ? "" : ",") + std::to_string(d);
  const std::string compared =
      options.fixedOnly ? "%f"
                        : "%g, %.Ng for N in {" + digits + "}, shortest" + (options.fixed ? ", %f" : "");
  std::printf("float_format_check: %s, %s, %d threads, %.1f s\n",
              options.all ? "all patterns" : ("stride " + std::to_string(options.stride)).c_str(),
              compared.c_str(), options.threads, seconds);
  std::printf("checked %llu patterns: %llu differences\n",
              static_cast<unsigned long long>(total.checked),
              static_cast<unsigned long long>(total.differences));
  for (size_t i = 0; i < total.examples.size() && i < kExamplesKept; ++i)
    std::printf("  %s\n", total.examples[i].c_str());
  return total.differences == 0 ? 0 : 1;
}
