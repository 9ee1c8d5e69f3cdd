// Locale-independent number text: exactly the bytes that C's "%g", "%f",
// "%d" and "%ld" give in the "C" locale, whatever locale the client chose.
#ifndef VELLUM_COMMON_NUMBER_FORMAT_H
#define VELLUM_COMMON_NUMBER_FORMAT_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace vellum {

// The significant digits that floats written as text have unless a client
// asks for others: six, as C's "%g" gives.
constexpr int kDefaultPrecision = 6;

// "%g": six significant digits.  Non-finite values come out as printf
// writes them ("inf", "-nan", ...); callers that write RIB replace them
// first, since no RIB reader takes those for numbers.  A double that is
// exactly a float takes the fast float path below.
void appendG(std::string &out, double value);
// "%d" and "%ld".
void appendInt(std::string &out, long value);

// The functions below write into a caller's buffer, write no terminating
// NUL, and return the end of what they wrote.  They read no locale.

// The buffer formatFloatG, formatFloatDigits and formatFloatShortest need.
// Their longest text is 15 bytes, such as "-1.23456789e-38" or
// "-0.000123456789", but they write in blocks of four and eight bytes,
// which may reach to the 24th byte from the start.
constexpr int kFloatTextSize = 24;
// Room for formatFixed of any float: "-" and FLT_MAX's 39 integer digits,
// the point and six decimals make 47 bytes.
constexpr int kFixedFloatTextSize = 48;
// The buffer formatInt needs: the longest text is 20 bytes
// ("-9223372036854775808"), and it writes blocks of eight bytes, which
// may reach 21 bytes past the start.
constexpr int kIntTextSize = 24;

// Exactly snprintf("%g", double(value)).  Non-finite values come out as
// glibc's printf writes them ("inf", "-inf", "nan", "-nan"), though
// callers that write RIB replace them first.
char *formatFloatG(float value, char *out);
// Exactly snprintf("%.*g", digits, double(value)) for digits 1..9; digits
// below 1 act as 1 (as printf treats 0) and above 9 as 9.
char *formatFloatDigits(float value, int digits, char *out);
// The shortest text that strtof or std::from_chars<float> reads back as
// exactly `value` ("-0" for negative zero), laid out as "%.Pg" would lay
// out those digits for some precision P from their count to 9: the
// exponent form ("1.5e-07") when the decimal exponent X is below -4 or at
// least P, else the plain form ("0.0015", "1500").  Of the layouts so
// allowed the shorter is taken, the plain one when both are as long, so
// the text is never longer than "%.9g" gives.  Of the shortest digit
// strings that read back, the one nearest to the value's exact binary
// value is taken (the even one on a tie).  Non-finite as formatFloatG.
char *formatFloatShortest(float value, char *out);
// Each of the `count` values followed by a blank: as formatFloatG for
// digits 6, formatFloatDigits for 1 to 9 (above 9 as 9), and
// formatFloatShortest for 0 and below.  Non-finite values come out as
// those functions write them.  At most kFloatSpacedSize bytes a value, and
// the buffer needs kFloatTextSize bytes beyond the last value's start, so
// kFloatSpacedSize * count + kFloatTextSize bytes always suffice.
constexpr int kFloatSpacedSize = 16;
char *formatFloatsSpaced(const float *values, size_t count, int digits, char *out);
// Exactly snprintf("%f", double(value)).
char *formatFixed(float value, char *out);
// Exactly snprintf("%d") and snprintf("%ld").
char *formatInt(int32_t value, char *out);
// Each of the `count` values as "%d " (a blank after each): at most 12
// bytes a value, and the buffer needs kIntTextSize bytes beyond the last.
char *formatIntsSpaced(const int32_t *values, size_t count, char *out);
char *formatInt(long value, char *out);

}  // namespace vellum

#endif
