// What ribdiff counts as the same request: equal after reading, whatever
// the encoding, formatting and declarations; different by any number,
// string or parameter, unless a tolerance allows the numbers.
#include "reader/request_digest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "reader/rib_reader.h"
#include "ri/null_context.h"

namespace {

using vellum::RequestDigest;

// The digests of the requests of `rib`, as a reader hands them out.
std::vector<RequestDigest> digests(const std::string &rib) {
  vellum::NullContext target;
  vellum::RibReader reader(target, nullptr);
  std::vector<RequestDigest> all;
  reader.setObserver([&](const vellum::RequestRow &, const vellum::RibRequest &request, const vellum::PrimitiveCounts *) {
    all.push_back(vellum::digestOf(request, [&](size_t i) { return reader.parameterDeclaration(request, i); }));
  });
  std::vector<vellum::RibInput> inputs;
  inputs.push_back({"in", std::make_unique<vellum::MemorySource>(rib)});
  reader.read(std::move(inputs));
  return all;
}

RequestDigest last(const std::string &rib) {
  const std::vector<RequestDigest> all = digests(rib);
  return all.empty() ? RequestDigest{} : all.back();
}

TEST(RequestDigest, EqualAfterReading) {
  const struct {
    const char *what;
    std::string a, b;
    bool same;
  } cases[] = {
      {"integers and floats", "Sphere 1 -1 1 360", "Sphere 1.0 -1e0 1.00 360", true},
      {"an operand array and loose numbers", "Color [1 0 0]", "Color 1 0 0", true},
      {"-0 and 0", "Translate -0 0 0", "Translate 0 0 0", true},
      {"binary floats", "Color [0.5 1 2]", std::string("Color \xc8\x03\x3f\x00\x00\x00\x3f\x80\x00\x00\x40\x00\x00\x00", 20),
       true},
      {"a declared name and its inline declaration",
       "Declare \"foo\" \"uniform float\"\nSurface \"s\" \"foo\" [1]", "Surface \"s\" \"uniform float foo\" [1]", true},
      {"parameters in another order", "Surface \"s\" \"Kd\" 1 \"Ks\" 2", "Surface \"s\" \"Ks\" [2] \"Kd\" [1]", true},
      {"a number", "Sphere 1 -1 1 360", "Sphere 1 -1 1 359", false},
      {"a float's last bit", "Translate 0.1 0 0", "Translate 0.10000001 0 0", false},
      {"a string", "Surface \"plastic\"", "Surface \"Plastic\"", false},
      {"a parameter's declaration", "Surface \"s\" \"uniform float[2] k\" [1 2]", "Surface \"s\" \"uniform point k\" [1 2 3]",
       false},
      {"a parameter more", "Surface \"s\"", "Surface \"s\" \"Kd\" 1", false},
      {"strings that run together alike", "Display \"ab\" \"c\" \"rgb\"", "Display \"a\" \"bc\" \"rgb\"", false},
      {"another request", "AttributeBegin", "TransformBegin", false},
  };
  for (const auto &c : cases) {
    const RequestDigest a = last(c.a), b = last(c.b);
    EXPECT_FALSE(a.shape.empty()) << c.what;
    EXPECT_EQ(a.key == b.key, c.same) << c.what;
    EXPECT_EQ(vellum::sameRequest(a, b, {}), c.same) << c.what;
  }
}

TEST(RequestDigest, ATolerancePutsUpWithNumbersOnly) {
  const RequestDigest a = last("Translate 100 0.001 0"), b = last("Translate 100.5 0.002 0");
  const struct {
    vellum::NumberTolerance tolerance;
    bool same;
  } cases[] = {
      {{0, 0}, false},
      {{0.005, 0}, false},      // 0.005 of 100.5 covers the first, not 0.001 against 0.002
      {{0.5, 0}, true},         // half of 0.002
      {{0, 0.5}, true},
      {{0, 0.499}, false},      // at the edge: 100.5 - 100 is 0.5
      {{0.005, 0.0011}, true},  // each number by one or the other
  };
  for (const auto &c : cases)
    EXPECT_EQ(vellum::sameRequest(a, b, c.tolerance), c.same) << c.tolerance.relative << " " << c.tolerance.absolute;
  EXPECT_EQ(a.shapeKey, b.shapeKey);
  EXPECT_NE(a.key, b.key);
  // Strings are never approximate.
  EXPECT_FALSE(vellum::sameRequest(last("Surface \"a\""), last("Surface \"b\""), {1, 1}));
}

}  // namespace
