#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "reader/byte_source.h"
#include "reader/rib_parser.h"

namespace {

// Each request of `inputs` as "Name:bytes", comments as "#:bytes".
std::string requestBytes(const std::vector<std::string> &texts) {
  std::vector<vellum::RibInput> inputs;
  for (const std::string &text : texts)
    inputs.push_back({"in", std::make_unique<vellum::MemorySource>(text)});
  vellum::RibParser parser(std::move(inputs));
  vellum::RibRequest request;
  const vellum::RequestRow *row = nullptr;
  std::string error, out;
  for (int guard = 0; guard < 100; ++guard) {
    const vellum::RibParser::Result result = parser.next(request, &row, &error);
    if (result == vellum::RibParser::Result::kEnd) break;
    out += (request.isComment ? std::string("#") : request.name) + ":" + std::to_string(request.bytes) + " ";
  }
  return out;
}

TEST(RibParser, RequestsKnowTheBytesTheyTake) {
  // A binary Sphere: its name defined once (not the request's), then
  // called by its code with four binary floats of five bytes each.
  const std::string binarySphere = std::string("\xcc\x00\x96Sphere", 9) + std::string("\xa6\x00", 2) +
                                   std::string("\xa4\x3f\x80\x00\x00", 5) + std::string("\xa4\xbf\x80\x00\x00", 5) +
                                   std::string("\xa4\x3f\x80\x00\x00", 5) + std::string("\xa4\x43\xb4\x00\x00", 5);
  const struct {
    std::vector<std::string> inputs;
    const char *expected;
  } cases[] = {
      {{"WorldBegin"}, "WorldBegin:10 "},
      // Blanks around a request are nobody's; those inside it are its own.
      {{"  Sphere 1 -1  1 360 \n\n WorldEnd\n"}, "Sphere:18 WorldEnd:8 "},
      {{"Color [1 0 0]Opacity [1 1 1]"}, "Color:13 Opacity:15 "},
      // A comment among the values is part of the request, and comes out
      // after it.
      {{"Translate 1 # moved\n 2 3\nIdentity"}, "Translate:24 #:0 Identity:8 "},
      {{"# lead\nIdentity"}, "#:0 Identity:8 "},
      // A request ends with its input.
      {{"Translate 1 2 3  ", "Identity"}, "Translate:15 Identity:8 "},
      {{binarySphere + "WorldEnd"}, "Sphere:22 WorldEnd:8 "},
      // A malformed request counts what it used.
      {{"Sphere 1 \"a\"  Identity"}, "Sphere:12 Identity:8 "},
      {{"Unknown 1 2 Identity"}, "Unknown:11 Identity:8 "},
  };
  for (const auto &c : cases) EXPECT_EQ(requestBytes(c.inputs), c.expected) << c.inputs[0];
}

}  // namespace
