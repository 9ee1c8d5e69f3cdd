#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "reader/byte_source.h"
#include "reader/rib_lexer.h"
#include "tests/test_support.h"

using vellum::Token;
using vellum::TokenKind;
using vellum_test::bytes;

namespace {

// The tokens of `rib`, one per line: "k:Name", "n:1" (integer), "f:0.5",
// "s:text", "[", "]", "a:1,2" (binary float array), "c:text", "C:text"
// (structure comment), "e:message".
std::vector<vellum::RibInput> inputsOf(std::initializer_list<const std::string *> texts) {
  std::vector<vellum::RibInput> inputs;
  int i = 0;
  for (const std::string *text : texts)
    inputs.push_back({"in" + std::to_string(++i), std::make_unique<vellum::MemorySource>(*text)});
  return inputs;
}

std::string tokensOf(const std::string &rib) {
  vellum::RibLexer lexer(inputsOf({&rib}));
  std::string out;
  Token token;
  for (int guard = 0; guard < 100; ++guard) {
    lexer.next(token);
    switch (token.kind) {
      case TokenKind::kEnd: return out;
      case TokenKind::kKeyword: out += "k:" + token.text; break;
      case TokenKind::kNumber: {
        char text[64];
        std::snprintf(text, sizeof text, "%s:%.10g", token.integer ? "n" : "f", token.number);
        out += text;
        break;
      }
      case TokenKind::kString: out += "s:" + token.text; break;
      case TokenKind::kArrayBegin: out += "["; break;
      case TokenKind::kArrayEnd: out += "]"; break;
      case TokenKind::kFloatArray: {
        out += "a:";
        for (size_t i = 0; i < token.floats.size(); ++i) {
          char text[32];
          std::snprintf(text, sizeof text, "%s%g", i ? "," : "", token.floats[i]);
          out += text;
        }
        break;
      }
      case TokenKind::kComment: out += (token.structure ? "C:" : "c:") + token.text; break;
      case TokenKind::kError: out += "e:" + token.text; break;
    }
    out += "|";
  }
  return out + "(too many tokens)";
}

TEST(RibLexer, AsciiTokens) {
  struct Case {
    std::string rib;
    std::string tokens;
  } cases[] = {
      {"Sphere 1 -1 1.5 360", "k:Sphere|n:1|n:-1|f:1.5|n:360|"},
      {"  \t\r\n\f\v", ""},
      {"[1 2.5e3 -.5 +4 1e-07]", "[|n:1|f:2500|f:-0.5|n:4|f:1e-07|]|"},
      {"[\"a\" \"b\"]", "[|s:a|s:b|]|"},
      {"# comment\n##RenderMan RIB\r\nWorldBegin", "c: comment|C:RenderMan RIB|k:WorldBegin|"},
      {"#old\rWorldEnd", "c:old|k:WorldEnd|"},
      {"\"esc \\\" \\\\ \\n\\r\\t\\b\\f \\101\\060x \\7z \\q\"",
       "s:esc \" \\ \n\r\t\b\f A0x \az q|"},
      {"\"con\\\ntinued\"", "s:continued|"},
      {"\"bytes \x80\xff stay\"", "s:bytes \x80\xff stay|"},
      {"Option\"rib\"[1]", "k:Option|s:rib|[|n:1|]|"},
      {"3000000000", "f:3000000000|"},
      {"-2147483648 2147483648", "n:-2147483648|f:2147483648|"},
      {"+1.5 -0 -0.0 0", "f:1.5|n:-0|f:-0|n:0|"},
      // Beyond a float's range is an error; too small to tell from 0 is 0.
      {"1e400 3.5e38 -1e39 1e-400", "e:number out of range \"1e400\"|e:number out of range \"3.5e38\"|"
       "e:number out of range \"-1e39\"|f:0|"},
      {"3.4028234e38", "f:3.4028234e+38|"},
      {"1.2.3", "e:bad number \"1.2.3\"|"},
      {"\"open", "e:end of stream inside a string|"},
      {std::string("a\0b", 3), "k:a|e:NUL byte|k:b|"},
      {"{", "e:unexpected character '{' (byte 123)|"},
  };
  for (const Case &c : cases) EXPECT_EQ(tokensOf(c.rib), c.tokens) << c.rib;
}

TEST(RibLexer, BinaryTokens) {
  struct Case {
    const char *what;
    std::string rib;
    std::string tokens;
  } cases[] = {
      {"one-byte integer", bytes({0x80, 0xFF}), "n:-1|"},
      {"two-byte integer", bytes({0x81, 0x01, 0x00}), "n:256|"},
      {"four-byte integer", bytes({0x83, 0x7F, 0xFF, 0xFF, 0xFF}), "n:2147483647|"},
      {"fixed point 8.8", bytes({0x85, 0x01, 0x80}), "f:1.5|"},
      {"fixed point .16", bytes({0x89, 0x40, 0x00}), "f:0.25|"},
      {"short string", bytes({0x93, 'a', 'b', 'c'}), "s:abc|"},
      {"empty string", bytes({0x90}), "s:|"},
      {"long string", bytes({0xA0, 0x02, 'h', 'i'}), "s:hi|"},
      {"float", bytes({0xA4, 0x3F, 0x00, 0x00, 0x00}), "f:0.5|"},
      {"infinite float", bytes({0xA4, 0x7F, 0x80, 0x00, 0x00}),
       "e:binary number out of range or not finite|"},
      {"double beyond a float", bytes({0xA5, 0x7F, 0xE0, 0, 0, 0, 0, 0, 0}),
       "e:binary number out of range or not finite|"},
      {"float array with a NaN", bytes({0xC8, 0x02, 0x3F, 0x80, 0, 0, 0x7F, 0xC0, 0, 0}),
       "e:binary float array holds a value that is not finite|"},
      {"double", bytes({0xA5, 0x3F, 0xF8, 0, 0, 0, 0, 0, 0}), "f:1.5|"},
      {"float array", bytes({0xC8, 0x02, 0x3F, 0x80, 0, 0, 0x40, 0, 0, 0}), "a:1,2|"},
      {"empty float array", bytes({0xC8, 0x00}), "a:|"},
      {"two-byte count", std::string(bytes({0xC9, 0x00, 0x01, 0x3F, 0x80, 0, 0})), "a:1|"},
      {"request definition and use",
       bytes({0xCC, 0x05, 0x95, 'S', 'c', 'a', 'l', 'e', 0xA6, 0x05, 0x80, 0x02}), "k:Scale|n:2|"},
      {"request defined by a quoted string",
       std::string(bytes({0xCC, 0x01})) + "\"Identity\"" + bytes({0xA6, 0x01}), "k:Identity|"},
      {"string definition and references",
       bytes({0xCD, 0x07, 0x92, 'P', 'w', 0xCF, 0x07, 0xCE, 0x01, 0x00, 0x91, 'N', 0xD0, 0x01, 0x00}),
       "s:Pw|s:N|"},
      {"mixed with text", std::string("Color ") + bytes({0xC8, 0x01, 0, 0, 0, 0}) + "\n", "k:Color|a:0|"},
      {"undefined request", bytes({0xA6, 0x09}), "e:undefined encoded request 9|"},
      {"undefined string", bytes({0xCF, 0x03}), "e:undefined string 3|"},
      {"reserved byte", bytes({0xA7}), "e:reserved byte 0247|"},
      {"reserved high byte", bytes({0xFF}), "e:reserved byte 0377|"},
      {"truncated float", bytes({0xA4, 0x3F}), "e:binary token cut short by the end of the stream|"},
      {"truncated string", bytes({0x95, 'a'}), "e:binary token cut short by the end of the stream|"},
      {"array claiming 2^32-1 values",
       bytes({0xCB, 0xFF, 0xFF, 0xFF, 0xFF, 0x3F, 0x80, 0, 0}),
       "e:binary token cut short by the end of the stream|"},
      {"definition without a string", bytes({0xCC, 0x01, 0x80, 0x01}),
       "e:definition without a string|n:1|"},
  };
  for (const Case &c : cases) EXPECT_EQ(tokensOf(c.rib), c.tokens) << c.what;
}

TEST(RibLexer, CountsLinesOfTextOnly) {
  const std::string rib =
      "a\n\"two\nlines\"\n" + bytes({0xC8, 0x01, 0x0A, 0x0A, 0x0A, 0x0A}) + "\nb";
  vellum::RibLexer lexer(inputsOf({&rib}));
  Token token;
  std::vector<int> lines;
  for (lexer.next(token); token.kind != TokenKind::kEnd; lexer.next(token)) lines.push_back(token.line);
  EXPECT_EQ(lines, (std::vector<int>{1, 2, 4, 5}));
}

TEST(RibLexer, ManyDefinitionsInARowNeedNoStack) {
  std::string rib;
  for (int i = 0; i < 200000; ++i) rib += bytes({0xCD, 0x01, 0x91, 'x'});
  rib += bytes({0xCF, 0x01});
  EXPECT_EQ(tokensOf(rib), "s:x|");
}

// Several inputs read as one stream: a request may go on in the next
// input, a token may not; lines are counted per input.
TEST(RibLexer, InputsFollowOneAnother) {
  const std::string a = "Sphere 1\n-1", b = "1 360\n\"open", c = "\nWorldEnd";
  vellum::RibLexer lexer(inputsOf({&a, &b, &c}));
  std::string out;
  Token token;
  for (lexer.next(token); token.kind != TokenKind::kEnd; lexer.next(token))
    out += std::to_string(token.input) + ":" + std::to_string(token.line) + " ";
  EXPECT_EQ(out, "0:1 0:1 0:2 1:1 1:1 1:2 2:2 ");
}

// A source that fails: its error is reported once, where it happened, and
// ends its input; the next input is read.
TEST(RibLexer, ReadErrorIsReportedOnceAndEndsItsInput) {
  class FailingSource : public vellum::ByteSource {
   public:
    size_t read(char *buffer, size_t size) override {
      if (served_) {
        error_ = "Input/output error";
        return 0;
      }
      served_ = true;
      const std::string text = "WorldBegin\nSphere";
      const size_t n = std::min(size, text.size());
      text.copy(buffer, n);
      return n;
    }

   private:
    bool served_ = false;
  };
  const std::string next = "WorldEnd";
  std::vector<vellum::RibInput> inputs;
  inputs.push_back({"bad", std::make_unique<FailingSource>()});
  inputs.push_back({"good", std::make_unique<vellum::MemorySource>(next)});
  vellum::RibLexer lexer(std::move(inputs));
  std::string out;
  Token token;
  for (int guard = 0; guard < 10; ++guard) {
    lexer.next(token);
    if (token.kind == TokenKind::kEnd) break;
    out += std::to_string(token.input) + ":" + std::to_string(token.line) + ":" +
           (token.kind == TokenKind::kError ? "e:" + token.text : token.text) + "|";
  }
  EXPECT_EQ(out, "0:1:WorldBegin|0:2:Sphere|0:2:e:read error: Input/output error|1:1:WorldEnd|");
}

// A source that hands out its bytes in pieces of awkward sizes, so that
// numbers and white space fall across every kind of buffer boundary.
class PiecemealSource : public vellum::ByteSource {
 public:
  explicit PiecemealSource(const std::string &text) : text_(text) {}
  size_t read(char *buffer, size_t size) override {
    static const size_t kPieces[] = {1, 7, 63, 64, 65, 4093, 65536, 3};
    size_t n = std::min({size, kPieces[call_++ % 8], text_.size() - offset_});
    text_.copy(buffer, n, offset_);
    offset_ += n;
    return n;
  }

 private:
  const std::string &text_;
  size_t offset_ = 0, call_ = 0;
};

// Reads `rib` as the parser reads arrays, with number runs inside them when
// `runs`, or token by token; records every value as the array would hold
// it (integers while every value so far is one, floats to the bit after),
// and every other token with its line.
std::string arrayValuesOf(const std::string &rib, bool runs) {
  std::vector<vellum::RibInput> inputs;
  inputs.push_back({"in", std::make_unique<PiecemealSource>(rib)});
  vellum::RibLexer lexer(std::move(inputs));
  enum { kOutside, kIntegers, kIntegersAndMinusZero, kFloats } state = kOutside;
  std::string out;
  char text[64];
  auto addFloat = [&](float value) {
    std::snprintf(text, sizeof text, "f:%a|", static_cast<double>(value));
    out += text;
  };
  std::vector<int> ints;
  std::vector<float> floats;
  Token token;
  for (;;) {
    if (runs && state == kIntegers) lexer.integerRun(ints);
    if (runs && state == kFloats) lexer.floatRun(floats);
    for (int value : ints) out += "n:" + std::to_string(value) + "|";
    for (float value : floats) addFloat(value);
    ints.clear();
    floats.clear();
    lexer.next(token);
    if (token.kind == TokenKind::kEnd) return out;
    if (token.kind == TokenKind::kNumber && state != kOutside) {
      if (state != kFloats && token.integer) {
        const bool minusZero = token.number == 0 && std::signbit(token.number);
        std::snprintf(text, sizeof text, "n:%s%d|", minusZero ? "-" : "", static_cast<int>(token.number));
        out += text;
        if (minusZero) state = kIntegersAndMinusZero;
      } else {
        state = kFloats;
        addFloat(static_cast<float>(token.number));
      }
      continue;
    }
    if (token.kind == TokenKind::kArrayBegin) state = kIntegers;
    if (token.kind == TokenKind::kArrayEnd) state = kOutside;
    out += std::to_string(token.line) + ":" + std::to_string(static_cast<int>(token.kind)) + ":" +
           token.text + "|";
  }
}

// Inside arrays the reader takes numbers in runs straight from its buffer;
// whatever the text, it must read exactly what the token path reads: the
// same values to the bit, the same errors, the same lines.
TEST(RibLexer, ArrayNumberRunsReadWhatTokensRead) {
  const char *pieces[] = {
      "0", "-0", "7", "42", "-13", "-2147483648", "2147483647", "2147483648", "-2147483649",
      "12345678901", "0000000000001", "0.5", "-1.25e-3", "3.4028234e38", "1e-50", "1e400", "-1e39",
      "+1.5", "+7", ".5", "-.5", "1.", "1.5e", "1.2.3", "-", "--5", "e5", "1x", "#c\n", "\"s\"",
      "1234567890123456789012345678901234567890123456789012345678901234567890", "1e-400",
      "[", "[", "[", "]", "]", "\n", "\r\n", "\t", "Sphere",
  };
  std::mt19937 random(20261207);
  std::string rib;
  const char *white[] = {" ", "  ", "\n", "\t", " \n ", "\r"};
  while (rib.size() < 400000) {
    rib += pieces[random() % (sizeof pieces / sizeof *pieces)];
    rib += white[random() % (sizeof white / sizeof *white)];
    // Long arrays of plain values, as index and position arrays are, with
    // now and then one of the pieces above among them.
    if (random() % 8 == 0) {
      const bool integers = random() % 2;
      rib += "[";
      for (int i = random() % 3000; i > 0; --i) {
        rib += std::to_string(static_cast<int>(random() % 200000) - 1000);
        if (!integers) rib += "." + std::to_string(random() % 1000);
        const char *among = pieces[random() % (sizeof pieces / sizeof *pieces)];
        rib += random() % 500 ? " " : std::string(" ") + among + "\n";
      }
    }
  }
  const std::string byTokens = arrayValuesOf(rib, false);
  EXPECT_EQ(arrayValuesOf(rib, true), byTokens);
  // The runs did take part, and so did every kind of value.
  for (const char *seen : {"n:-2147483648|", "n:-0|", "f:0x0p+0|", "number out of range", "bad number",
                           "number too long"})
    EXPECT_NE(byTokens.find(seen), std::string::npos) << seen;
}

}  // namespace
