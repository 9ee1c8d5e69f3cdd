#include <gtest/gtest.h>

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
std::string tokensOf(const std::string &rib) {
  vellum::MemorySource source(rib);
  vellum::RibLexer lexer(source);
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
      {"\"esc \\\" \\\\ \\n\\r\\t\\b\\f \\101\\060x \\7z \\q\"",
       "s:esc \" \\ \n\r\t\b\f A0x \az q|"},
      {"\"con\\\ntinued\"", "s:continued|"},
      {"\"bytes \x80\xff stay\"", "s:bytes \x80\xff stay|"},
      {"Option\"rib\"[1]", "k:Option|s:rib|[|n:1|]|"},
      {"3000000000", "f:3000000000|"},
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
  vellum::MemorySource source(rib);
  vellum::RibLexer lexer(source);
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

}  // namespace
