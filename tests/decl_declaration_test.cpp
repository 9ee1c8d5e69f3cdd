#include <gtest/gtest.h>

#include <string>

#include "decl/declaration.h"
#include "decl/string_table.h"

namespace vellum {
namespace {

TEST(ParseDeclarationTest, Grammar) {
  struct Case {
    const char *text;
    int storageClass;
    int type;
    int arrayLength;
  };
  const Case cases[] = {
      {"float", kClassUniform, kTypeFloat, 1},
      {"varying color", kClassVarying, kTypeColor, 1},
      {"vertex point", kClassVertex, kTypePoint, 1},
      {"constant string", kClassConstant, kTypeString, 1},
      {"facevarying float[2]", kClassFaceVarying, kTypeFloat, 2},
      {"uniform int[3]", kClassUniform, kTypeInteger, 3},
      {"uniform integer", kClassUniform, kTypeInteger, 1},
      {"vector", kClassUniform, kTypeVector, 1},
      {"normal", kClassUniform, kTypeNormal, 1},
      {"hpoint", kClassUniform, kTypeHPoint, 1},
      {"matrix", kClassUniform, kTypeMatrix, 1},
      {"mpoint", kClassUniform, kTypeMPoint, 1},
      {"color[4]", kClassUniform, kTypeColor, 4},
      {"float [3]", kClassUniform, kTypeFloat, 3},
      {"  varying   float  [2]", kClassVarying, kTypeFloat, 2},
      {"uniformfloat", kClassUniform, kTypeFloat, 1},
      {"vertexhpoint", kClassVertex, kTypeHPoint, 1},
      {"bool", kClassUniform, kTypeNone, 1},
      {"", kClassUniform, kTypeNone, 1},
      {nullptr, kClassUniform, kTypeNone, 1},
      {"float uniform", kClassUniform, kTypeFloat, 1},
      // Tabs are not blanks.
      {"varying\tfloat", kClassVarying, kTypeNone, 1},
      // The number reads like atoi; what follows is ignored.
      {"float[]", kClassUniform, kTypeFloat, 0},
      {"float[ \t7]", kClassUniform, kTypeFloat, 7},
      {"float[+5]", kClassUniform, kTypeFloat, 5},
      {"float[-0]", kClassUniform, kTypeFloat, 0},
      {"float[3]junk", kClassUniform, kTypeFloat, 3},
      {"float[2x]", kClassUniform, kTypeFloat, 2},
      {"float[x2]", kClassUniform, kTypeFloat, 0},
      {"float 3", kClassUniform, kTypeFloat, 1},
      {"[6]", kClassUniform, kTypeNone, 6},
      // Lengths 16 bits cannot hold faithfully.
      {"float[32767]", kClassUniform, kTypeFloat, 32767},
      {"float[32768]", kClassUniform, kTypeFloat, kUnsupportedArrayLength},
      {"float[65538]", kClassUniform, kTypeFloat, kUnsupportedArrayLength},
      {"float[4294967298]", kClassUniform, kTypeFloat, kUnsupportedArrayLength},
      {"float[99999999999999999999999]", kClassUniform, kTypeFloat, kUnsupportedArrayLength},
      {"float[-2]", kClassUniform, kTypeFloat, kUnsupportedArrayLength},
  };
  for (const Case &c : cases) {
    ParsedDeclaration parsed = parseDeclaration(c.text);
    const char *label = c.text ? c.text : "(null)";
    EXPECT_EQ(parsed.storageClass, c.storageClass) << label;
    EXPECT_EQ(parsed.type, c.type) << label;
    EXPECT_EQ(parsed.arrayLength, c.arrayLength) << label;
  }
}

TEST(InlinePrefixLengthTest, Keywords) {
  struct Case {
    const char *text;
    size_t length;
  };
  const Case cases[] = {
      {"varying color[2] bar", 17},
      {"uniform float foo", 14},
      {"vertex point P", 13},
      {"constant  float   x", 18},
      {"integer x", 8},
      {"int x", 4},
      {"hpoint Pw", 7},
      {"facevarying normal Nf", 19},
      {"float[2] x", 9},
      // A blank before "[" ends the keyword; the bracket is then the name.
      {"float [2] x", 6},
      // Each keyword once, in list order: a class after a type is the name.
      {"float uniform x", 6},
      {"point hpoint x", 13},
      {"color point x", 6},
      {"uniform uniform x", 8},
      // An unclosed bracket runs to the end.
      {"uniform float[2", 15},
      {"float", 0},
      {"floatx y", 0},
      {"foo", 0},
      {"", 0},
      {nullptr, 0},
      {"Float x", 0},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(inlinePrefixLength(c.text), c.length) << (c.text ? c.text : "(null)");
  }
}

TEST(TypeModelTest, FormatDeclaration) {
  struct Case {
    int storageClass, type, arrayLength;
    const char *text;
  };
  const Case cases[] = {
      {kClassVertex, kTypePoint, 1, "vertex point"},
      {kClassVarying, kTypeFloat, 2, "varying float[2]"},
      {kClassFaceVarying, kTypeNormal, 1, "facevarying normal"},
      {kClassUniform, kTypeInteger, 32767, "uniform integer[32767]"},
      {kClassUniform, kTypeColor, 0, "uniform color"},
      {kClassConstant, kTypeMPoint, -1, "constant mpoint[]"},
      {kClassUniform, kTypeNone, 1, "uniform "},
      {0, 12, 3, " [3]"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(formatDeclaration(c.storageClass, c.type, c.arrayLength), c.text) << c.text;
  }
}

TEST(DeclareTest, DeclaresUnderTheInternedName) {
  char name[] = "dt_declared";
  RtToken token = declare(name, "varying color[3]", nullptr, false);
  EXPECT_NE(token, name);
  EXPECT_EQ(token, internString("dt_declared"));

  const Declaration *entry = lookupDeclaration("dt_declared");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->name, token);
  EXPECT_EQ(entry->key, token);
  EXPECT_EQ(entry->storageClass, kClassVarying);
  EXPECT_EQ(entry->type, kTypeColor);
  EXPECT_EQ(entry->arrayLength, 3);
  EXPECT_EQ(entry->format(), "varying color[3]");
}

TEST(DeclareTest, RedeclarationChangesTheEntryInPlace) {
  RtToken first = declare("dt_Kd", "float", nullptr, false);
  Declaration *entry = lookupDeclaration("dt_Kd");
  ASSERT_NE(entry, nullptr);
  const int32_t added = declarationTable().entriesAdded();

  RtToken second = declare("dt_Kd", "varying float[2]", nullptr, false);
  EXPECT_EQ(second, first);
  EXPECT_EQ(lookupDeclaration("dt_Kd"), entry);
  EXPECT_EQ(entry->storageClass, kClassVarying);
  EXPECT_EQ(entry->arrayLength, 2);
  EXPECT_EQ(declarationTable().entriesAdded(), added);
}

TEST(DeclareTest, KeyGivenSeparately) {
  RtToken name = declare("dt_bare", "uniform point", "dt_keyed text", true);
  EXPECT_EQ(name, internString("dt_bare"));
  const Declaration *entry = lookupDeclaration("dt_keyed text");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->key, internString("dt_keyed text"));
  EXPECT_EQ(entry->name, name);
  EXPECT_EQ(lookupDeclaration("dt_bare"), nullptr);
}

TEST(LookupDeclarationTest, UndeclaredTokens) {
  for (const char *token : {"dt_never_declared", "float", "", "   ", "uniform"}) {
    EXPECT_EQ(lookupDeclaration(token), nullptr) << token;
  }
  EXPECT_EQ(lookupDeclaration(nullptr), nullptr);
}

TEST(LookupDeclarationTest, LeadingBlanksAreIgnored) {
  declare("dt_blanks", "vertex normal", nullptr, false);
  const Declaration *entry = lookupDeclaration("dt_blanks");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(lookupDeclaration("   dt_blanks"), entry);
}

TEST(LookupDeclarationTest, InlineDeclarationIsKeyedByTheWholeToken) {
  // Not declared by an earlier run of this test either.
  static int run = 0;
  const std::string bare = "dt_foo" + std::to_string(++run);
  const std::string text = "uniform float " + bare;
  const char *token = text.c_str();
  SymbolTable &table = declarationTable();
  const int32_t added = table.entriesAdded();

  Declaration *entry = lookupDeclaration(token);
  ASSERT_NE(entry, nullptr);
  EXPECT_STREQ(entry->key, token);
  EXPECT_EQ(entry->key, internString(token));
  EXPECT_EQ(entry->name, internString(bare.c_str()));
  EXPECT_EQ(entry->storageClass, kClassUniform);
  EXPECT_EQ(entry->type, kTypeFloat);
  EXPECT_EQ(entry->arrayLength, 1);
  EXPECT_EQ(table.entriesAdded(), added + 1);
  // The bare name stays undeclared.
  EXPECT_EQ(lookupDeclaration(bare.c_str()), nullptr);

  // A second use finds the same entry: one found lookup, nothing added.
  const int32_t found = table.found();
  EXPECT_EQ(lookupDeclaration(token), entry);
  EXPECT_EQ(table.found(), found + 1);
  EXPECT_EQ(table.entriesAdded(), added + 1);
}

TEST(LookupDeclarationTest, InlineDeclarations) {
  struct Case {
    const char *token;
    const char *key;
    const char *name;
    int storageClass, type, arrayLength;
  };
  const Case cases[] = {
      {"varying color[2] dt_bar", "varying color[2] dt_bar", "dt_bar", kClassVarying, kTypeColor, 2},
      {"  vertex hpoint dt_Pw", "vertex hpoint dt_Pw", "dt_Pw", kClassVertex, kTypeHPoint, 1},
      {"float uniform dt_x", "float uniform dt_x", "uniform dt_x", kClassUniform, kTypeFloat, 1},
      {"constant   string  dt_label", "constant   string  dt_label", "dt_label", kClassConstant, kTypeString,
       1},
      {"uniform float[70000] dt_huge", "uniform float[70000] dt_huge", "dt_huge", kClassUniform, kTypeFloat,
       kUnsupportedArrayLength},
  };
  for (const Case &c : cases) {
    const Declaration *entry = lookupDeclaration(c.token);
    ASSERT_NE(entry, nullptr) << c.token;
    EXPECT_STREQ(entry->key, c.key) << c.token;
    EXPECT_STREQ(entry->name, c.name) << c.token;
    EXPECT_EQ(entry->storageClass, c.storageClass) << c.token;
    EXPECT_EQ(entry->type, c.type) << c.token;
    EXPECT_EQ(entry->arrayLength, c.arrayLength) << c.token;
  }
}

TEST(LookupDeclarationTest, InlinePrefixOfAnyLength) {
  const std::string prefix = "uniform" + std::string(100, ' ') + "point[" + std::string(60, '0') + "4]";
  const std::string token = prefix + "   dt_long";
  ASSERT_GE(inlinePrefixLength(token.c_str()), 64u);
  const Declaration *entry = lookupDeclaration(token.c_str());
  ASSERT_NE(entry, nullptr);
  EXPECT_STREQ(entry->name, "dt_long");
  EXPECT_EQ(entry->type, kTypePoint);
  EXPECT_EQ(entry->arrayLength, 4);
}

TEST(DeclarationTest, ByteSize) {
  struct Case {
    const char *name;
    const char *declaration;
    size_t bytes;
  };
  const Case cases[] = {
      {"dt_size_float", "float", 4},
      {"dt_size_int", "integer[3]", 12},
      {"dt_size_point", "vertex point", 12},
      {"dt_size_color", "color[4]", 48},
      {"dt_size_vector", "vector", 12},
      {"dt_size_normal", "normal", 12},
      {"dt_size_hpoint", "hpoint", 16},
      {"dt_size_matrix", "matrix", 64},
      {"dt_size_mpoint", "mpoint[2]", 128},
      {"dt_size_string", "string[2]", 2 * sizeof(RtString)},
      {"dt_size_none", "bool[5]", 0},
      {"dt_size_empty", "float[0]", 0},
      {"dt_size_unsupported", "float[40000]", 0},
  };
  for (const Case &c : cases) {
    declare(c.name, c.declaration, nullptr, false);
    const Declaration *entry = lookupDeclaration(c.name);
    ASSERT_NE(entry, nullptr) << c.name;
    EXPECT_EQ(entry->byteSize(), c.bytes) << c.name;
    EXPECT_EQ(declaredByteSize(c.name), c.bytes) << c.name;
  }
  EXPECT_EQ(declaredByteSize("dt_size_undeclared"), 0u);
  EXPECT_EQ(declaredByteSize("uniform float[2] dt_size_inline"), 8u);
}

}  // namespace
}  // namespace vellum
