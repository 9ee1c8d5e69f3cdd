// What qview --stats counts of each kind of request: a primitive's
// vertices, faces, curves and points, and the structure around them.
#include "reader/stream_summary.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "reader/rib_reader.h"
#include "ri/null_context.h"

namespace {

vellum::StreamSummary summaryOf(const std::string &rib) {
  vellum::NullContext target;
  vellum::RibReader reader(target, nullptr);
  vellum::StreamSummary summary;
  reader.setObserver([&](const vellum::RequestRow &row, const vellum::RibRequest &request,
                         const vellum::PrimitiveCounts *counts) { summary.request(row, request, counts); });
  std::vector<vellum::RibInput> inputs;
  inputs.push_back({"in", std::make_unique<vellum::MemorySource>(rib)});
  reader.read(std::move(inputs));
  return summary;
}

// "KIND count vertices faces curves points" of each primitive kind.
std::string primitivesOf(const vellum::StreamSummary &summary) {
  std::string out;
  for (const auto &[kind, p] : summary.primitives())
    out += kind + " " + std::to_string(p.count) + " " + std::to_string(p.vertices) + " " +
           std::to_string(p.faces) + " " + std::to_string(p.curves) + " " + std::to_string(p.points) + ";";
  return out;
}

TEST(StreamSummary, CountsEachKindOfPrimitive) {
  const struct {
    const char *rib;
    const char *expected;
  } cases[] = {
      {"Polygon \"P\" [0 0 0 1 0 0 1 1 0 0 1 0]\nPolygon \"P\" [0 0 0 1 0 0 1 1 0]\n", "Polygon 2 7 2 0 0;"},
      {"GeneralPolygon [4 3] \"P\" [0 0 0 4 0 0 4 4 0 0 4 0 1 1 0 2 1 0 1 2 0]\n", "GeneralPolygon 1 7 1 0 0;"},
      {"PointsGeneralPolygons [2 1] [3 3 3] [0 1 2 0 1 3 2 3 4] \"P\" [0 0 0 1 0 0 1 1 0 0 1 0 2 2 0]\n",
       "PointsGeneralPolygons 1 5 2 0 0;"},
      {"Patch \"bilinear\" \"P\" [0 0 0 1 0 0 0 1 0 1 1 0]\n", "Patch 1 4 1 0 0;"},
      // 3 by 2 vertices: 2 by 1 patches.
      {"PatchMesh \"bilinear\" 3 \"nonperiodic\" 2 \"nonperiodic\" \"P\" [0 0 0 1 0 0 2 0 0 0 1 0 1 1 0 2 1 0]\n",
       "PatchMesh 1 6 2 0 0;"},
      {"NuPatch 2 2 [0 0 1 1] 0 1 2 2 [0 0 1 1] 0 1 \"P\" [0 0 0 1 0 0 0 1 0 1 1 0]\n", "NuPatch 1 4 1 0 0;"},
      {"SubdivisionMesh \"catmull-clark\" [4 3] [0 1 2 3 1 4 2] [] [] [] [] \"P\" [0 0 0 1 0 0 1 1 0 0 1 0 2 0 0]\n",
       "SubdivisionMesh 1 5 2 0 0;"},
      {"Curves \"linear\" [2 3 2] \"nonperiodic\" \"P\" [0 0 0 1 0 0 0 1 0 1 1 0 2 1 0 0 2 0 1 2 0]\n",
       "Curves 1 7 0 3 0;"},
      {"Points \"P\" [0 0 0 1 1 1 2 2 2]\n", "Points 1 3 0 0 3;"},
      {"Sphere 1 -1 1 360\nDisk 0 1 360\nSphere 2 -2 2 360\n", "Disk 1 0 0 0 0;Sphere 2 0 0 0 0;"},
      // A request that fails its check is not counted.
      {"Polygon \"P\" [0 0 0 1 0]\nPoints \"P\" [0 0]\n", ""},
  };
  for (const auto &c : cases) EXPECT_EQ(primitivesOf(summaryOf(c.rib)), c.expected) << c.rib;
}

TEST(StreamSummary, CountsTheStructure) {
  const vellum::StreamSummary summary = summaryOf(
      "FrameBegin 1\nWorldBegin\nLightSource \"pointlight\" 1\nAreaLightSource \"arealight\" 2\n"
      "Light \"PxrDomeLight\" \"dome\"\nObjectBegin 1\nSphere 1 -1 1 360\nObjectEnd\n"
      "ObjectInstance 1\nObjectInstance 1\nWorldEnd\nFrameEnd\nFrameBegin 2\nWorldBegin\nWorldEnd\nFrameEnd\n");
  EXPECT_EQ(summary.frames(), 2);
  EXPECT_EQ(summary.worlds(), 2);
  EXPECT_EQ(summary.lights(), 3);
  EXPECT_EQ(summary.objects(), 1);
  EXPECT_EQ(summary.instances(), 2);
  EXPECT_EQ(summary.requests(), 16);
}

// Only the largest five are kept, most bytes first, the earlier of equals
// first, whatever order they come in.
TEST(StreamSummary, KeepsTheLargestFive) {
  std::string rib;
  const int sizes[] = {3, 9, 1, 9, 7, 2, 8, 9, 5};
  for (int size : sizes) rib += "Polygon \"P\" [" + std::string(static_cast<size_t>(size), '0') + " 0 0]\n";
  const vellum::StreamSummary summary = summaryOf(rib);
  std::string lines;
  for (const auto &large : summary.largest()) lines += std::to_string(large.line) + " ";
  EXPECT_EQ(lines, "2 4 8 7 5 ");
}

}  // namespace
