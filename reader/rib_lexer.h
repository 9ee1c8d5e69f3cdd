// RibLexer: the tokens of a RIB byte stream, ASCII and binary alike.
//
// ASCII: white space, comments ("#..." and structure comments "##..."),
// quoted strings with their escapes, numbers, "[" and "]", and request
// keywords.  Binary: encoded integers and fixed-point numbers, strings,
// single and double floats, float arrays, request and string definitions and
// their references.  Both may be mixed freely in one stream.
#ifndef VELLUM_READER_RIB_LEXER_H
#define VELLUM_READER_RIB_LEXER_H

#include <cstdint>
#include <string>
#include <vector>

#include "reader/byte_source.h"

namespace vellum {

enum class TokenKind {
  kEnd,         // end of the stream
  kKeyword,     // a request name: text
  kNumber,      // number (integer when `integer`)
  kString,      // text
  kArrayBegin,  // "["
  kArrayEnd,    // "]"
  kFloatArray,  // a binary float array: floats
  kComment,     // text after "#" (or "##" when `structure`)
  kError,       // text says what is wrong; the bad bytes are consumed
};

struct Token {
  TokenKind kind = TokenKind::kEnd;
  int input = 0;          // which input the token comes from
  int line = 1;           // where the token starts, in its input
  uint64_t start = 0;     // the offset of its first byte in the stream
  std::string text;
  double number = 0;
  bool integer = false;
  bool structure = false;
  std::vector<float> floats;
};

// The inputs are read one after the other as one stream, as if they were
// concatenated, except that no token spans two inputs.  Lines are counted
// per input.  A read error is reported once, at the line where it
// happened, and ends its input.
class RibLexer {
 public:
  explicit RibLexer(std::vector<RibInput> inputs);
  RibLexer(const RibLexer &) = delete;
  RibLexer &operator=(const RibLexer &) = delete;

  // Reads the next token into `token` (its buffers are reused).
  void next(Token &token);
  // Inside an ASCII array, append the numbers that follow straight from the
  // buffer, without making tokens: plain decimal integers to `ints`, or any
  // numbers to `floats`.  Each run stops, consuming nothing of it, before
  // anything it does not take for certain (another token, a sign or form the
  // token path treats specially, a number out of range, a number whose end
  // is not yet in the buffer); next() then reads on from there exactly as if
  // the run had been read token by token.
  void integerRun(std::vector<int> &ints);
  void floatRun(std::vector<float> &floats);
  // Gives up the rest of the input being read: the next token comes from
  // the next input.
  void skipInput();
  int input() const { return input_; }
  int line() const { return line_; }
  const std::string &inputName(int input) const { return inputs_[input].name; }
  // Bytes consumed so far.
  uint64_t offset() const { return consumedBefore_ + static_cast<uint64_t>(pos_ - begin_); }

 private:
  // Makes at least `count` bytes available at pos_ unless the stream ends
  // first; returns the number available.
  size_t available(size_t count);
  int peek() { return pos_ < end_ || available(1) ? static_cast<unsigned char>(*pos_) : -1; }
  int get() { return pos_ < end_ || available(1) ? static_cast<unsigned char>(*pos_++) : -1; }
  // `count` bytes into out; false when the stream ends first.
  bool take(size_t count, char *out);
  bool takeString(size_t count, std::string &out);
  bool takeUnsigned(int bytes, uint32_t *value);

  void nextToken(Token &token);
  // Moves on to the next input; false when there is none.
  bool nextInput();
  void skipWhiteSpace();
  // Skips white space and makes a whole number's bytes available; false
  // when the number (or the stream) may end beyond the buffer.
  bool nextNumberInBuffer();
  void comment(Token &token);
  void quotedString(Token &token);
  void number(Token &token);
  void keyword(Token &token);
  void binary(int code, Token &token);
  void binaryNumber(unsigned code, Token &token);
  void binaryString(unsigned code, Token &token);
  void binaryReal(unsigned code, Token &token);
  void encodedRequest(Token &token);
  void binaryFloatArray(unsigned code, Token &token);
  void definition(unsigned code, Token &token);
  void stringReference(unsigned code, Token &token);
  void error(Token &token, std::string message);

  std::vector<RibInput> inputs_;
  int input_ = 0;  // the input being read
  ByteSource *source_;
  bool errorReported_ = false;  // the current input's read error
  std::vector<char> buffer_;
  const char *begin_;
  const char *pos_;
  const char *end_;
  uint64_t consumedBefore_ = 0;
  int line_ = 1;
  bool sourceEnded_ = false;
  bool definitionRead_ = false;  // a binary definition was read, and no token
  std::string requestNames_[256];   // binary request definitions
  bool requestDefined_[256] = {};
  std::vector<std::string> strings_;  // binary string definitions
  std::vector<bool> stringDefined_;
};

}  // namespace vellum

#endif
