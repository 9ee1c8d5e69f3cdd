// The text of requests: numbers, strings and names as the writer writes
// them into its buffer, shared by every request.
#include <cmath>

#include "common/name_tables.h"
#include "common/number_format.h"
#include "common/quoted_string.h"
#include "rib/rib_writer.h"

namespace vellum {

void RibWriter::reportNonFinite() {
  if (nonFiniteReported_) return;
  nonFiniteReported_ = true;
  problem("libvellum error: non-finite float written to %s as 1e+38, -1e+38 or 0\n",
                      destination());
}

// RIB readers take neither "inf" nor "nan" for numbers, so infinities are
// written as the interface's RI_INFINITY and NaN as 0.
RtFloat RibWriter::finite(RtFloat value) {
  if (std::isfinite(value)) return value;
  reportNonFinite();
  return std::isnan(value) ? 0.0f : std::copysign(RI_INFINITY, value);
}

void RibWriter::numberText(RtFloat value) {
  out_.commit(formatNumber_(finite(value), precision_, out_.reserve(kFloatTextSize)));
}

void RibWriter::numbersText(std::initializer_list<RtFloat> values) {
  for (RtFloat value : values) {
    character(' ');
    numberText(value);
  }
}

void RibWriter::fixedText(RtFloat value) {
  if (precision_ != kDefaultPrecision) return numberText(value);
  out_.commit(formatFixed(finite(value), out_.reserve(kFixedFloatTextSize)));
}

void RibWriter::integerText(long value) { out_.commit(formatInt(value, out_.reserve(kIntTextSize))); }

void RibWriter::quotedText(const char *string) { appendQuoted(out_, string); }

void RibWriter::functionText(const char *keyword, const char *kind, const char *name, bool &reported) {
  if (name == nullptr && !reported) {
    reported = true;
    problem(
        "libvellum error: %s's %s is not a predefined one: written to %s as \"\", which no renderer "
        "knows\n",
        keyword, kind, destination());
  }
  quotedText(name);
}

void RibWriter::filterText(const char *keyword, RtFilterFunc filterfunc) {
  functionText(keyword, "filter function", filterName(filterfunc), unnamedFilterReported_);
}

}  // namespace vellum
