#include "reader/rib_lexer.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <cmath>
#include <cstring>

#include "common/binary_rib.h"

namespace vellum {

namespace {

constexpr size_t kBufferSize = 64 * 1024;
// Data announced by a binary header is read in pieces of this size, so a
// false count costs no more memory than the bytes that really follow.
constexpr size_t kPieceSize = 64 * 1024;
const char kCutShort[] = "binary token cut short by the end of the stream";
// No number token is longer; a longer run of number characters is an error.
constexpr size_t kLongestNumber = 64;

// Character classes of ASCII RIB, looked up per byte.
enum : unsigned char { kWhite = 1, kKeywordStart = 2, kKeywordChar = 4, kNumberChar = 8, kDigit = 16 };

constexpr std::array<unsigned char, 256> makeClasses() {
  std::array<unsigned char, 256> classes{};
  for (int c : {' ', '\t', '\n', '\r', '\f', '\v'}) classes[c] = kWhite;
  for (int c = 'A'; c <= 'Z'; ++c) classes[c] = kKeywordStart | kKeywordChar;
  for (int c = 'a'; c <= 'z'; ++c) classes[c] = kKeywordStart | kKeywordChar;
  classes['_'] = kKeywordStart | kKeywordChar;
  for (int c = '0'; c <= '9'; ++c) classes[c] = kKeywordChar | kNumberChar | kDigit;
  for (int c : {'.', '-', '+'}) classes[c] = kNumberChar;
  classes['e'] |= kNumberChar;
  classes['E'] |= kNumberChar;
  return classes;
}
constexpr std::array<unsigned char, 256> kClasses = makeClasses();

bool is(int c, unsigned char mask) { return c >= 0 && (kClasses[static_cast<unsigned char>(c)] & mask) != 0; }

// Reads up to 11 decimal digits from p (enough to tell whether an integer
// fits an RtInt) into `value`; returns where they end.
const char *scanDigits(const char *p, const char *end, int64_t *value) {
  const char *digits = p;
  *value = 0;
  while (p < end && p - digits < 11 && is(static_cast<unsigned char>(*p), kDigit))
    *value = *value * 10 + (*p++ - '0');
  return p;
}

}  // namespace

RibLexer::RibLexer(std::vector<RibInput> inputs)
    : inputs_(std::move(inputs)), buffer_(kBufferSize) {
  begin_ = pos_ = end_ = buffer_.data();
  static MemorySource nothing("", 0);
  source_ = inputs_.empty() ? &nothing : inputs_[0].source.get();
}

bool RibLexer::nextInput() {
  if (input_ + 1 >= static_cast<int>(inputs_.size())) return false;
  ++input_;
  source_ = inputs_[input_].source.get();
  sourceEnded_ = false;
  errorReported_ = false;
  line_ = 1;
  return true;
}

void RibLexer::skipInput() {
  consumedBefore_ += static_cast<uint64_t>(end_ - begin_);
  begin_ = pos_ = end_ = buffer_.data();
  sourceEnded_ = true;
  errorReported_ = true;  // a read error of an input given up is not news
}

size_t RibLexer::available(size_t count) {
  size_t have = static_cast<size_t>(end_ - pos_);
  if (have >= count || sourceEnded_) return have;
  consumedBefore_ += static_cast<uint64_t>(pos_ - begin_);
  std::memmove(buffer_.data(), pos_, have);
  if (buffer_.size() < count) buffer_.resize(count);
  begin_ = pos_ = buffer_.data();
  end_ = pos_ + have;
  while (have < count && !sourceEnded_) {
    size_t got = source_->read(buffer_.data() + have, buffer_.size() - have);
    if (got == 0) sourceEnded_ = true;
    have += got;
    end_ = buffer_.data() + have;
  }
  return have;
}

bool RibLexer::take(size_t count, char *out) {
  while (count > 0) {
    size_t have = available(1);
    if (have == 0) return false;
    size_t piece = have < count ? have : count;
    std::memcpy(out, pos_, piece);
    pos_ += piece;
    out += piece;
    count -= piece;
  }
  return true;
}

bool RibLexer::takeString(size_t count, std::string &out) {
  out.clear();
  while (count > 0) {
    size_t have = available(1);
    if (have == 0) return false;
    size_t piece = have < count ? have : count;
    out.append(pos_, piece);
    pos_ += piece;
    count -= piece;
  }
  return true;
}

bool RibLexer::takeUnsigned(int bytes, uint32_t *value) {
  unsigned char raw[4];
  if (!take(static_cast<size_t>(bytes), reinterpret_cast<char *>(raw))) return false;
  uint32_t result = 0;
  for (int i = 0; i < bytes; ++i) result = (result << 8) | raw[i];
  *value = result;
  return true;
}

void RibLexer::error(Token &token, std::string message) {
  token.kind = TokenKind::kError;
  token.text = std::move(message);
}

void RibLexer::skipWhiteSpace() {
  for (;;) {
    while (pos_ < end_) {
      const char c = *pos_;
      if (c == '\n') ++line_;
      else if (!is(static_cast<unsigned char>(c), kWhite)) return;
      ++pos_;
    }
    if (available(1) == 0) return;
  }
}

void RibLexer::next(Token &token) {
  do {
    definitionRead_ = false;
    nextToken(token);
  } while (definitionRead_);
  // A NUL byte would cut the text short wherever it is handed on as a C
  // string, so a string or comment holding one (written, escaped or
  // binary) is refused instead of silently shortened.
  if ((token.kind == TokenKind::kString || token.kind == TokenKind::kComment) &&
      std::memchr(token.text.data(), 0, token.text.size()) != nullptr)
    error(token, token.kind == TokenKind::kString ? "a string holds a NUL byte"
                                                   : "a comment holds a NUL byte");
}

void RibLexer::nextToken(Token &token) {
  int c;
  for (;;) {
    skipWhiteSpace();
    token.input = input_;
    token.line = line_;
    token.integer = false;
    token.structure = false;
    c = peek();
    token.start = offset();
    if (c >= 0) break;
    if (!source_->error().empty() && !errorReported_) {
      errorReported_ = true;
      return error(token, "read error: " + source_->error());
    }
    if (!nextInput()) {
      token.kind = TokenKind::kEnd;
      return;
    }
  }
  if (c == '#') return comment(token);
  if (c == '"') return quotedString(token);
  if (c == '[') {
    ++pos_;
    token.kind = TokenKind::kArrayBegin;
    return;
  }
  if (c == ']') {
    ++pos_;
    token.kind = TokenKind::kArrayEnd;
    return;
  }
  if (is(c, kNumberChar) && c != 'e' && c != 'E') return number(token);
  if (is(c, kKeywordStart)) return keyword(token);
  ++pos_;
  if (c >= 0x80) return binary(c, token);
  if (c == 0) return error(token, "NUL byte");
  char text[64];
  std::snprintf(text, sizeof text, "unexpected character '%c' (byte %d)", c >= 0x20 ? c : '?', c);
  error(token, text);
}

void RibLexer::comment(Token &token) {
  ++pos_;  // '#'
  token.kind = TokenKind::kComment;
  token.structure = peek() == '#';
  if (token.structure) ++pos_;
  token.text.clear();
  // A comment ends at a line end of any platform: "\n", "\r\n" or "\r",
  // as writers take all three for one.
  for (;;) {
    const char *start = pos_;
    while (pos_ < end_ && *pos_ != '\n' && *pos_ != '\r') ++pos_;
    token.text.append(start, pos_);
    if (pos_ < end_ || available(1) == 0) break;
  }
}

void RibLexer::quotedString(Token &token) {
  ++pos_;  // opening quote
  token.kind = TokenKind::kString;
  token.text.clear();
  for (;;) {
    int c = get();
    if (c < 0) return error(token, "end of stream inside a string");
    if (c == '"') return;
    if (c == '\n') ++line_;
    if (c != '\\') {
      token.text.push_back(static_cast<char>(c));
      continue;
    }
    c = get();
    switch (c) {
      case -1: return error(token, "end of stream inside a string");
      case 'n': token.text.push_back('\n'); break;
      case 'r': token.text.push_back('\r'); break;
      case 't': token.text.push_back('\t'); break;
      case 'b': token.text.push_back('\b'); break;
      case 'f': token.text.push_back('\f'); break;
      case '\n': ++line_; break;  // the line continues
      case '\r':
        if (peek() == '\n') {
          ++pos_;
          ++line_;
        }
        break;
      default:
        if (c >= '0' && c <= '7') {
          int value = c - '0';
          for (int digits = 1; digits < 3 && peek() >= '0' && peek() <= '7'; ++digits)
            value = value * 8 + (get() - '0');
          token.text.push_back(static_cast<char>(value & 0xFF));
        } else {
          token.text.push_back(static_cast<char>(c));  // \\, \" and any other
        }
    }
  }
}

void RibLexer::number(Token &token) {
  // Numbers are short: scan them in place once enough bytes are at hand.
  available(kLongestNumber);
  const char *first = pos_;
  const char *p = first;
  token.kind = TokenKind::kNumber;
  // Integers, the bulk of index arrays, are read as they are scanned.
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  const char *digits = p;
  int64_t value;
  p = scanDigits(p, end_, &value);
  if (p > digits && (p == end_ || !is(static_cast<unsigned char>(*p), kNumberChar | kKeywordStart))) {
    if (value <= int64_t{INT32_MAX} + negative) {
      pos_ = p;
      // "-0" keeps its sign, so that a float operand reads as -0 and is
      // written back as it was.
      token.number = negative ? -static_cast<double>(value) : static_cast<double>(value);
      token.integer = true;
      return;
    }
  }
  while (p < end_ && is(static_cast<unsigned char>(*p), kNumberChar)) ++p;
  pos_ = p;
  if (static_cast<size_t>(p - first) >= kLongestNumber) return error(token, "number too long");
  const char *start = *first == '+' ? first + 1 : first;
  double real = 0;
  auto [end, code] = std::from_chars(start, p, real);
  const std::string text(first, p);
  if (end != p || start == p || (code != std::errc() && code != std::errc::result_out_of_range))
    return error(token, "bad number \"" + text + "\"");
  if (code == std::errc::result_out_of_range) {
    // Too small to tell from zero is zero; too large is an error.
    const char *exponent = std::strpbrk(text.c_str(), "eE");
    if (exponent == nullptr || exponent[1] != '-')
      return error(token, "number out of range \"" + text + "\"");
    real = *start == '-' ? -0.0 : 0.0;
  }
  if (std::isinf(static_cast<float>(real)))
    return error(token, "number out of range \"" + text + "\"");
  token.number = real;
}

bool RibLexer::nextNumberInBuffer() {
  for (;;) {
    while (pos_ < end_ && is(static_cast<unsigned char>(*pos_), kWhite)) {
      if (*pos_ == '\n') ++line_;
      ++pos_;
    }
    // The longest number and the byte after it.
    if (static_cast<size_t>(end_ - pos_) <= kLongestNumber && !sourceEnded_) available(kLongestNumber + 1);
    if (pos_ == end_ || !is(static_cast<unsigned char>(*pos_), kWhite)) break;
  }
  return static_cast<size_t>(end_ - pos_) > kLongestNumber;
}

namespace {
// Where a number of an array run ends for certain.
bool endsArrayNumber(char c) { return c == ']' || is(static_cast<unsigned char>(c), kWhite); }
}  // namespace

void RibLexer::integerRun(std::vector<int> &ints) {
  while (nextNumberInBuffer()) {
    const char *p = pos_;
    const bool negative = *p == '-';
    if (negative) ++p;
    const char *digits = p;
    int64_t value;
    p = scanDigits(p, end_, &value);
    // "-0" reads as a float -0, and a longer or larger value is no integer:
    // both are left to the token path.
    if (p == digits || !endsArrayNumber(*p) || value > int64_t{INT32_MAX} + negative ||
        (negative && value == 0))
      return;
    ints.push_back(static_cast<int>(negative ? -value : value));
    pos_ = p;
  }
}

void RibLexer::floatRun(std::vector<float> &floats) {
  while (nextNumberInBuffer()) {
    const char *p = pos_;
    // A number starts with a digit, "-" or "."; "+" and the rest are left
    // to the token path.
    if (!is(static_cast<unsigned char>(*p), kDigit) && *p != '-' && *p != '.') return;
    // The buffer holds more than the longest number: the scan stays in it.
    while (static_cast<size_t>(p - pos_) < kLongestNumber && is(static_cast<unsigned char>(*p), kNumberChar))
      ++p;
    if (!endsArrayNumber(*p)) return;
    // The same conversion as the token path, so the value is the same to
    // the bit; anything it would report is left to it.
    double real = 0;
    auto [end, code] = std::from_chars(pos_, p, real);
    if (end != p || code != std::errc() || std::isinf(static_cast<float>(real))) return;
    floats.push_back(static_cast<float>(real));
    pos_ = p;
  }
}

void RibLexer::keyword(Token &token) {
  token.kind = TokenKind::kKeyword;
  token.text.clear();
  for (;;) {
    const char *start = pos_;
    while (pos_ < end_ && is(static_cast<unsigned char>(*pos_), kKeywordChar)) ++pos_;
    token.text.append(start, pos_);
    if (pos_ < end_ || available(1) == 0) return;
  }
}

// Binary tokens, one function a kind; `code` is the token's first byte,
// already consumed.
void RibLexer::binary(int code, Token &token) {
  const unsigned c = static_cast<unsigned>(code);
  if (c <= binary::kNumberLast) return binaryNumber(c, token);
  if (c <= binary::kLongStringLast) return binaryString(c, token);
  if (c == binary::kFloat || c == binary::kDouble) return binaryReal(c, token);
  if (c == binary::kEncodedRequest) return encodedRequest(token);
  if (c >= binary::kFloatArrayFirst && c <= binary::kFloatArrayLast) return binaryFloatArray(c, token);
  if (c >= binary::kDefineRequest && c <= binary::kDefineLongString) return definition(c, token);
  if (c == binary::kStringReference || c == binary::kLongStringReference) return stringReference(c, token);
  char text[48];
  std::snprintf(text, sizeof text, "reserved byte 0%o", code);
  error(token, text);
}

// Value bytes, the last ones the fraction.
void RibLexer::binaryNumber(unsigned code, Token &token) {
  const int bytes = (code & 3) + 1;
  const int fractionBytes = (code >> 2) & 3;
  uint32_t raw;
  if (!takeUnsigned(bytes, &raw)) return error(token, kCutShort);
  const int shift = 32 - 8 * bytes;
  const int32_t value = static_cast<int32_t>(raw << shift) >> shift;  // sign-extended
  token.kind = TokenKind::kNumber;
  token.integer = fractionBytes == 0;
  token.number = std::ldexp(static_cast<double>(value), -8 * fractionBytes);
}

// A short string, or a long one with 1 to 4 length bytes.
void RibLexer::binaryString(unsigned code, Token &token) {
  uint32_t length = code - binary::kShortStringFirst;
  if (code >= binary::kLongStringFirst &&
      !takeUnsigned(static_cast<int>(code - binary::kLongStringFirst) + 1, &length))
    return error(token, kCutShort);
  token.kind = TokenKind::kString;
  if (!takeString(length, token.text)) error(token, kCutShort);
}

void RibLexer::binaryReal(unsigned code, Token &token) {
  token.kind = TokenKind::kNumber;
  if (code == binary::kFloat) {
    unsigned char bytes[4];
    if (!take(4, reinterpret_cast<char *>(bytes))) return error(token, kCutShort);
    token.number = binary::getFloat(bytes);
  } else {
    uint32_t high, low;
    if (!takeUnsigned(4, &high) || !takeUnsigned(4, &low)) return error(token, kCutShort);
    const uint64_t bits = (static_cast<uint64_t>(high) << 32) | low;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    token.number = value;
  }
  // Every number of a request is a single float in the end.
  if (!std::isfinite(static_cast<float>(token.number)))
    error(token, "binary number out of range or not finite");
}

void RibLexer::encodedRequest(Token &token) {
  const int code = get();
  if (code < 0) return error(token, kCutShort);
  if (!requestDefined_[code]) return error(token, "undefined encoded request " + std::to_string(code));
  token.kind = TokenKind::kKeyword;
  token.text = requestNames_[code];
}

// The count in 1 to 4 bytes, then the floats, read in pieces so that a
// false count costs no more memory than the bytes that really follow.
void RibLexer::binaryFloatArray(unsigned code, Token &token) {
  uint32_t count;
  if (!takeUnsigned(static_cast<int>(code - binary::kFloatArrayFirst) + 1, &count))
    return error(token, kCutShort);
  token.kind = TokenKind::kFloatArray;
  token.floats.clear();
  bool nonFinite = false;
  uint32_t done = 0;
  while (done < count) {
    const uint32_t piece = count - done < kPieceSize ? count - done : kPieceSize;
    token.floats.resize(done + piece);
    for (uint32_t i = done; i < done + piece;) {
      const size_t have = available(4) / 4;
      if (have == 0) {
        pos_ = end_;  // the broken value's last bytes
        return error(token, kCutShort);
      }
      const uint32_t last = have < done + piece - i ? i + static_cast<uint32_t>(have) : done + piece;
      for (; i < last; ++i, pos_ += 4) {
        const float value = binary::getFloat(reinterpret_cast<const unsigned char *>(pos_));
        nonFinite |= !std::isfinite(value);
        token.floats[i] = value;
      }
    }
    done += piece;
  }
  if (nonFinite) error(token, "binary float array holds a value that is not finite");
}

// A request or string definition: its code, then the name, quoted or as a
// binary string.  Nothing is handed out: next() reads on.
void RibLexer::definition(unsigned code, Token &token) {
  uint32_t number;
  if (!takeUnsigned(code == binary::kDefineLongString ? 2 : 1, &number)) return error(token, kCutShort);
  Token name;
  skipWhiteSpace();
  const int first = peek();
  if (first == '"') {
    quotedString(name);
  } else if (first >= static_cast<int>(binary::kShortStringFirst) &&
             first <= static_cast<int>(binary::kLongStringLast)) {
    ++pos_;
    binaryString(static_cast<unsigned>(first), name);
  } else {
    return error(token, "definition without a string");
  }
  if (name.kind != TokenKind::kString) return error(token, name.text);
  if (code == binary::kDefineRequest) {
    requestNames_[number] = name.text;
    requestDefined_[number] = true;
  } else {
    if (strings_.size() <= number) {
      strings_.resize(number + 1);
      stringDefined_.resize(number + 1);
    }
    strings_[number] = name.text;
    stringDefined_[number] = true;
  }
  token.kind = TokenKind::kEnd;
  definitionRead_ = true;
}

void RibLexer::stringReference(unsigned code, Token &token) {
  uint32_t number;
  if (!takeUnsigned(code == binary::kLongStringReference ? 2 : 1, &number)) return error(token, kCutShort);
  if (number >= strings_.size() || !stringDefined_[number])
    return error(token, "undefined string " + std::to_string(number));
  token.kind = TokenKind::kString;
  token.text = strings_[number];
}

}  // namespace vellum
