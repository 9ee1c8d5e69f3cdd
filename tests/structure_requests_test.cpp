#include <gtest/gtest.h>

#include <string>

#include "decl/declaration.h"
#include "decl/string_table.h"
#include "ri.h"
#include "common/quoted_string.h"
#include "tests/test_support.h"

namespace {

char *text(const char *s) { return const_cast<char *>(s); }

TEST(QuotedString, EscapesOnlyWhatCouldEndTheStringOrLine) {
  struct Case {
    const char *in;
    std::string out;
  } cases[] = {
      {"plain", "\"plain\""},
      {"", "\"\""},
      {nullptr, "\"\""},
      {"a\"b", "\"a\\\"b\""},
      {"back\\slash", "\"back\\\\slash\""},
      {"two\nlines\r", "\"two\\nlines\\r\""},
      {"\"\nWorldEnd\n#", "\"\\\"\\nWorldEnd\\n#\""},
      {"tab\there \x01\xff", "\"tab\there \x01\xff\""},
  };
  for (const Case &c : cases) {
    std::string out;
    vellum::appendQuoted(out, c.in);
    EXPECT_EQ(out, c.out) << (c.in ? c.in : "(null)");
  }
}

TEST(QuotedString, CommentTextCannotLeaveTheComment) {
  struct Case {
    const char *prefix;
    std::string in;
    std::string out;
  } cases[] = {
      {"# ", "frame 7", "# frame 7"},
      {"# ", "", "# "},
      {"# ", "one\ntwo", "# one\n# two"},
      {"# ", "one\r\ntwo\rthree", "# one\r\n# two\r# three"},
      {"# ", "ends\n", "# ends\n"},
      {"##", "a\n\nb", "##a\n##\n##b"},
  };
  for (const Case &c : cases) {
    std::string out;
    vellum::appendCommentText(out, c.prefix, c.in);
    EXPECT_EQ(out, c.out) << c.in;
  }
}

TEST(StructureRequests, Lines) {
  struct Case {
    const char *what;
    std::function<void()> calls;
    std::string rib;
  } cases[] = {
      {"frame", [] { RiFrameBegin(3); RiFrameEnd(); }, "FrameBegin 3\nFrameEnd\n"},
      {"world and attributes",
       [] { RiWorldBegin(); RiAttributeBegin(); RiAttributeEnd(); RiWorldEnd(); },
       "WorldBegin\nAttributeBegin\nAttributeEnd\nWorldEnd\n"},
      {"unbalanced blocks", [] { RiAttributeEnd(); RiWorldEnd(); }, "AttributeEnd\nWorldEnd\n"},
      {"comment", [] { RiArchiveRecord(RI_COMMENT, text("frame %d"), 7); }, "# frame 7\n"},
      {"structure", [] { RiArchiveRecord(RI_STRUCTURE, text("Scene %s"), "x"); },
       "##Scene x\n"},
      {"verbatim", [] { RiArchiveRecord(RI_VERBATIM, text("Sides 2")); RiFrameEnd(); },
       "Sides 2FrameEnd\n"},
      {"percent signs", [] { RiArchiveRecord(RI_COMMENT, text("%s"), "100%"); }, "# 100%\n"},
      {"comment with line ends",
       [] { RiArchiveRecord(RI_COMMENT, text("a\"\nWorldEnd\n")); },
       "# a\"\n# WorldEnd\n\n"},
      {"unknown type", [] { RiArchiveRecord(text("other"), text("x")); }, ""},
      {"null type and format",
       [] { RiArchiveRecord(nullptr, text("x")); RiArchiveRecord(RI_COMMENT, nullptr); }, "# \n"},
      {"read archive", [] { RiReadArchive(text("shadow.rib"), nullptr, RI_NULL); },
       "ReadArchive \"shadow.rib\"\n"},
      {"read archive without a name", [] { RiReadArchive(nullptr, nullptr, RI_NULL); },
       "ReadArchive \"\"\n"},
      {"read archive with a list",
       [] {
         RtFloat kd = 0.5f;
         RiReadArchive(text("a \"b\".rib"), nullptr, "Kd", &kd, RI_NULL);
       },
       "ReadArchive \"a \\\"b\\\".rib\" \"Kd\" [0.5]\n"},
      {"error handlers",
       [] {
         RiErrorHandler(RiErrorIgnore);
         RiErrorHandler(RiErrorPrint);
         RiErrorHandler(RiErrorAbort);
         RiErrorHandler(nullptr);
       },
       "ErrorHandler \"ignore\"\nErrorHandler \"print\"\nErrorHandler \"abort\"\n"},
      {"declare", [] { RiDeclare(text("foo"), text("uniform float")); },
       "Declare \"foo\" \"uniform float\"\n"},
      {"declare keeps the caller's text",
       [] { RiDeclare(text("bar"), text("  varying   color[2] junk")); },
       "Declare \"bar\" \"  varying   color[2] junk\"\n"},
      {"declare with null strings", [] { RiDeclare(nullptr, nullptr); }, "Declare \"\" \"\"\n"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(vellum_test::requestsOf(c.calls), c.rib) << c.what;
}

TEST(StructureRequests, BinaryModeChangesOnlyFloatValues) {
  std::string rib = vellum_test::requestsOf(
      [] {
        RtFloat kd = 1;
        RiFrameBegin(1);
        RiReadArchive(text("a"), nullptr, "Kd", &kd, RI_NULL);
      },
      true);
  EXPECT_EQ(rib, "FrameBegin 1\nReadArchive \"a\" \"Kd\" " +
                     vellum_test::bytes({0xC8, 1, 0x3F, 0x80, 0, 0}) + "\n");
}

TEST(StructureRequests, ArchiveRecordsOfAnyLength) {
  const std::string longText(25000, 'x');
  EXPECT_EQ(vellum_test::requestsOf([&] { RiArchiveRecord(RI_COMMENT, text("%s"), longText.c_str()); }),
            "# " + longText + "\n");
  EXPECT_EQ(vellum_test::requestsOf([&] { RiArchiveRecord(RI_VERBATIM, text(longText.c_str())); }),
            longText);
}

TEST(StructureRequests, DeclareEntersTheDeclaration) {
  RtToken first = nullptr, second = nullptr;
  std::string rib = vellum_test::requestsOf([&] {
    first = RiDeclare(text("structtest"), text("float"));
    second = RiDeclare(text("structtest"), text("varying color"));
    RiDeclare(text("structtest"), text(""));  // only interns: the declaration stays
  });
  EXPECT_EQ(first, second);
  EXPECT_EQ(first, vellum::internString("structtest"));
  const vellum::Declaration *declaration = vellum::lookupDeclaration("structtest");
  ASSERT_NE(declaration, nullptr);
  EXPECT_EQ(declaration->storageClass, vellum::kClassVarying);
  EXPECT_EQ(declaration->type, vellum::kTypeColor);
  EXPECT_EQ(rib, "Declare \"structtest\" \"float\"\nDeclare \"structtest\" \"varying color\"\n"
                 "Declare \"structtest\" \"\"\n");
}

}  // namespace
