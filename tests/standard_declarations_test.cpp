#include <gtest/gtest.h>

#include <string>

#include "decl/declaration.h"
#include "decl/standard_declarations.h"
#include "decl/string_table.h"
#include "ri.h"
#include "tests/test_support.h"

namespace {

using vellum::lookupDeclaration;

TEST(StandardDeclarations, LoadWritesNothing) {
  EXPECT_EQ(vellum_test::ribOf([] {}), vellum_test::kHeader + "\n");
  EXPECT_EQ(vellum_test::ribOf([] {}, true), vellum_test::kHeader + "\n");
}

TEST(StandardDeclarations, SpotChecksOfEveryRun) {
  vellum_test::ribOf([] {});
  struct Case {
    const char *name;
    const char *declaration;
  } cases[] = {
      {"intensity", "uniform float"},          {"P", "vertex point"},
      {"Pw", "vertex hpoint"},                 {"N", "varying normal"},
      {"Np", "uniform point"},                 {"st", "varying float[2]"},
      {"constantwidth", "constant float"},     {"fov", "uniform float"},
      {"rgb", "uniform string"},               {"look_behind", "uniform integer"},
      {"enable gaussian", "uniform integer"},  {"windowlocation", "uniform integer[2]"},
      {"origin", "uniform integer[2]"},        {"transform", "uniform matrix"},
      {"zblur", "uniform float[6]"},           {"minwidth", "constant float"},
      {"name", "uniform string"},              {"shader", "uniform string"},
      {"othreshold", "uniform color"},         {"__nondiffuse", "varying float"},
      {"__category", "uniform string"},        {"_$w", "vertex float"},
  };
  for (const Case &c : cases) {
    const vellum::Declaration *declaration = lookupDeclaration(c.name);
    ASSERT_NE(declaration, nullptr) << c.name;
    EXPECT_EQ(declaration->format(), c.declaration) << c.name;
  }
  for (const char *undeclared : {"box", "filter", "swidth", "blur", "bilinear", "object"})
    EXPECT_EQ(lookupDeclaration(undeclared), nullptr) << undeclared;
}

TEST(StandardDeclarations, TokensPointAtInternedNames) {
  vellum_test::ribOf([] {});
  EXPECT_EQ(RI_P, vellum::internString("P"));
  EXPECT_EQ(RI_BOX, vellum::internString("box"));
  EXPECT_EQ(RI_SHADER, vellum::internString("shader"));
  EXPECT_EQ(RI_NAME, vellum::internString("name"));
  EXPECT_EQ(RI_DOLLAR_W, vellum::internString("_$w"));
  // Tokens that the load does not touch keep their own text.
  EXPECT_NE(RI_MERGE, vellum::internString("merge"));
  EXPECT_STREQ(RI_MERGE, "merge");
  EXPECT_NE(RI_MATTE, vellum::internString("matte"));
}

TEST(StandardDeclarations, NewContextsRestoreRedeclaredNames) {
  std::string rib = vellum_test::requestsOf([] {
    RiDeclare(const_cast<char *>("Kd"), const_cast<char *>("varying color"));
  });
  EXPECT_EQ(rib, "Declare \"Kd\" \"varying color\"\n");
  vellum_test::ribOf([] {});
  EXPECT_EQ(lookupDeclaration("Kd")->format(), "uniform float");
}

TEST(StandardDeclarations, EveryDeclaredNameIsInTheTable) {
  vellum_test::ribOf([] {});
  struct Counts {
    int names = 0, declared = 0, mismatched = 0;
  } counts;
  vellum::forEachStandardDeclaration(
      [](const char *name, const char *declaration, void *user) {
        Counts &c = *static_cast<Counts *>(user);
        ++c.names;
        if (declaration == nullptr) return;
        ++c.declared;
        vellum::ParsedDeclaration parsed = vellum::parseDeclaration(declaration);
        const vellum::Declaration *found = vellum::lookupDeclaration(name);
        if (found == nullptr || found->name != vellum::internString(name) ||
            found->format() !=
                vellum::formatDeclaration(parsed.storageClass, parsed.type, parsed.arrayLength))
          ++c.mismatched;
      },
      &counts);
  EXPECT_EQ(counts.names, 247);
  EXPECT_EQ(counts.declared, 181);
  EXPECT_EQ(counts.mismatched, 0);
}

}  // namespace
