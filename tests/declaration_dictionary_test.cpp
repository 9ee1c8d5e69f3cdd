#include "decl/declaration_dictionary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decl/declaration.h"
#include "ri.h"
#include "tests/test_support.h"

namespace {

using vellum::DeclarationDictionary;
using vellum_test::tok;

std::string describe(const DeclarationDictionary::Entry *entry) {
  if (entry == nullptr) return "undeclared";
  return entry->name + ": " +
         vellum::formatDeclaration(entry->declaration.storageClass, entry->declaration.type,
                                   entry->declaration.arrayLength);
}

std::string describe(const vellum::Declaration *entry) {
  if (entry == nullptr) return "undeclared";
  return std::string(entry->name) + ": " + entry->format();
}

// A stream's own declarations resolve every token exactly as the writer's
// table does after the same Declare requests: the reader checks counts
// with the one, the writer writes with the other.
TEST(DeclarationDictionary, ResolvesTokensAsTheWritersTableDoes) {
  const std::vector<std::pair<const char *, const char *>> declares = {
      {"dd_plain", "varying color"},
      {"Kd", "vertex float[2]"},                   // a standard name redeclared
      {"uniform float dd_inlinekey", "vertex point"},  // a name that reads as inline
      {" dd_blank", "float"},                      // kept with its blank, found by nobody
      {"dd_empty", ""},                            // declares nothing
      {"dd_faces", "facevarying normal"},
  };
  const char *tokens[] = {"dd_plain",          "  dd_plain", "Kd",       "Cs",
                          "uniform float dd_inlinekey",      "dd_inlinekey",
                          " dd_blank",         "dd_blank",   "dd_empty", "dd_faces",
                          "varying float[3] dd_x",           "dd_x",     "float",
                          "nosuch",            "P"};
  DeclarationDictionary dictionary;
  std::vector<std::string> fromDictionary, fromWriter;
  vellum_test::ribOf([&] {
    for (const auto &[name, declaration] : declares) {
      dictionary.declare(name, declaration);
      RiDeclare(tok(name), tok(declaration));
    }
    for (const char *token : tokens) {
      fromDictionary.push_back(describe(dictionary.lookup(token)));
      fromWriter.push_back(describe(vellum::lookupDeclaration(token)));
    }
  });
  EXPECT_EQ(fromDictionary, fromWriter);
  EXPECT_EQ(fromDictionary[2], "Kd: vertex float[2]");
  EXPECT_EQ(fromDictionary[4], "dd_inlinekey: vertex point");
  EXPECT_EQ(fromDictionary[9], "dd_faces: facevarying normal");
}

TEST(DeclarationDictionary, DictionariesDoNotShareDeclarations) {
  DeclarationDictionary first, second;
  first.declare("dd_only_first", "float");
  first.declare("Kd", "color");
  EXPECT_EQ(describe(first.lookup("dd_only_first")), "dd_only_first: uniform float");
  EXPECT_EQ(describe(second.lookup("dd_only_first")), "undeclared");
  EXPECT_EQ(describe(second.lookup("Kd")), "Kd: uniform float");
  EXPECT_EQ(vellum::lookupDeclaration("dd_only_first"), nullptr);
}

}  // namespace
