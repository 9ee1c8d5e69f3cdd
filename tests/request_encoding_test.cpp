// The compact form an inline archive is kept in: every request reads back
// from it as the very same request, values, kinds and signs of zero alike.
#include "reader/request_encoding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "reader/rib_parser.h"
#include "tests/test_support.h"

namespace {

using vellum::RibParser;
using vellum::RibRequest;
using vellum::RibValue;

// What a value is, to the last bit of each number and its kind.
std::string describe(const RibValue &value) {
  std::string text =
      std::to_string(value.kind) + (value.kind == RibValue::kNumber && value.integer ? "i" : "") + ":";
  char bits[64];
  switch (value.kind) {
    case RibValue::kNumber:
      std::snprintf(bits, sizeof bits, "%a", value.number);
      return text + bits;
    case RibValue::kString:
      return text + value.string;
    case RibValue::kNumbers:
      text += value.allIntegers ? "ints" : "floats";
      for (size_t i = 0; i < value.size(); ++i) {
        std::snprintf(bits, sizeof bits, " %a", value.numberAt(i));
        text += bits;
      }
      return text;
    case RibValue::kStrings:
      for (const std::string &s : value.strings) text += "\"" + s + "\"";
      return text;
  }
  return text;
}

std::string describe(const RibRequest &request) {
  std::string text = request.name;
  for (const RibValue &operand : request.operands) text += " " + describe(operand);
  for (const auto &parameter : request.parameters)
    text += " [" + parameter.token + "] " + describe(parameter.value);
  return text;
}

// The requests of `rib`, described.
std::vector<std::string> requestsOf(const std::string &rib, bool *malformed) {
  std::vector<vellum::RibInput> inputs;
  inputs.push_back({"in", std::make_unique<vellum::MemorySource>(rib)});
  RibParser parser(std::move(inputs));
  std::vector<std::string> described;
  RibRequest request;
  const vellum::RequestRow *row;
  std::string error;
  for (RibParser::Result result; (result = parser.next(request, &row, &error)) != RibParser::Result::kEnd;) {
    if (result == RibParser::Result::kMalformed) *malformed = true;
    if (result == RibParser::Result::kRequest) described.push_back(describe(request));
  }
  return described;
}

// Every request of `rib` that reads, encoded and read again.
void expectSameRequests(const std::string &what, const std::string &rib) {
  std::vector<vellum::RibInput> inputs;
  inputs.push_back({"in", std::make_unique<vellum::MemorySource>(rib)});
  RibParser parser(std::move(inputs));
  RibRequest request;
  const vellum::RequestRow *row;
  std::string error, encoded;
  std::vector<std::string> expected;
  for (RibParser::Result result; (result = parser.next(request, &row, &error)) != RibParser::Result::kEnd;) {
    if (result != RibParser::Result::kRequest) continue;
    expected.push_back(describe(request));
    encoded += ' ';
    vellum::appendEncodedRequest(request, encoded);
  }
  bool malformed = false;
  EXPECT_EQ(requestsOf(encoded, &malformed), expected) << what;
  EXPECT_FALSE(malformed) << what;
  // Never much larger than what it was read from.
  EXPECT_LE(encoded.size(), 2 * rib.size() + 64) << what;
}

TEST(RequestEncoding, EveryRequestReadsBackTheSame) {
  const std::string edges[] = {
      "Sphere 1 -1.5 0.1 360 \"float Kd\" [0.30000001192092896] \"string s\" [\"\"]\n",
      "Color [-0 0 -0.0]\nSurface \"x\" \"float k\" [-0 1 2] \"float j\" [1 -0]\n",
      "Surface \"" + std::string(15, 'a') + "\" \"string t\" [\"" + std::string(16, 'b') + "\" \"" +
          std::string(300, 'c') + "\" \"" + std::string(70000, 'd') + "\"]\n",
      "PointsPolygons [3] [0 1 2] \"P\" [0 0 0 1 0 0 1 1 0]\n",
      "Points \"P\" \xc8\x00\nPoints \"P\" \xc8\x01\x3f\x80\x00\x00\n",
      "SubdivisionMesh \"catmull-clark\" [3] [0 1 2] [] [] [] [] \"P\" [0 0 0 1 0 0 1 1 0]\n"
      "SubdivisionMesh \"catmull-clark\" [3] [0 1 2] [\"crease\"] [2 1] [0 1] [2.5] \"P\" [0 0 0 1 0 0 1 1 0]\n",
      "LightSource \"spot\" \"key\"\nIlluminate \"key\" 1\nObjectBegin 7\nObjectEnd\nObjectInstance 7\n",
      "Basis \"bezier\" 3 [1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1] 4\nFormat 640 480 -1\n",
      "Translate 2147483647 -2147483648 3e9\nDisplay \"a\" \"file\" \"rgb\" \"integer origin\" [-2147483648 7]\n",
  };
  for (const std::string &rib : edges) expectSameRequests(rib.substr(0, 40), rib);
  for (const auto &[name, rib] : vellum_test::projectRibFiles()) expectSameRequests(name, rib);
}

}  // namespace
