// Primitives that one request cannot hold: more than 2147483647 values in
// a storage class or in one parameter.  The reader refuses them, so the
// writer writes none of such a request and reports an RIE_RANGE error
// through RiErrorPrint; a primitive just below the limit is written.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "ri.h"
#include "tests/test_support.h"

namespace {

using vellum_test::tok;

constexpr RtInt kMost = 2147483647;
RtFloat box[6] = {0, 1, 0, 1, 0, 1};

std::string refused(const std::string &detail) {
  return "ERROR: Parameter out of range\n    --> " + detail + "; the request is not written\n";
}

const std::string kClassLimit = " give too many values (more than 2147483647 in one storage class)";

struct Case {
  const char *what;
  std::function<void()> call;
  std::string written;  // the requests written, "" for none
  std::string err;      // RiErrorPrint's report, "" for none
};

TEST(RequestsTooLarge, AreRefusedWholeThroughRiErrorPrint) {
  // NuPatch's knots: nu + order of them along each direction.
  static std::vector<RtFloat> uknots(65536 + 1, 0.0f), vknots(32768 + 1, 0.0f);
  static RtFloat notRead[1] = {0};
  const Case cases[] = {
      {"a volume of 2147483647 points along each side",
       [] {
         RtInt dims[3] = {kMost, kMost, kMost};
         RiVolume(tok("box"), box, dims, RI_NULL);
       },
       "",
       refused("RiVolume: dimensions 2147483647 2147483647 2147483647" + kClassLimit)},
      {"a volume of 2^31 points",
       [] {
         RtInt dims[3] = {65536, 1, 32768};
         RiVolume(tok("box"), box, dims, RI_NULL);
       },
       "", refused("RiVolume: dimensions 65536 1 32768" + kClassLimit)},
      {"a volume whose matrix array parameter has too many values",
       [] {
         // 4097 × 16 × 32767 values, 458752 past the most; 4096 points
         // would fall short of it.  Nothing of `notRead` is read.
         RtInt dims[3] = {4097, 1, 1};
         RiVolume(tok("box"), box, dims, "vertex matrix[32767] m", notRead, RI_NULL);
       },
       "",
       refused("RiVolume: dimensions 4097 1 1 give parameter \"vertex matrix[32767] m\" too many "
               "values (more than 2147483647)")},
      // One RtInt count times a parameter's 16 values per element.
      {"a polygon of 2^27 vertices with a vertex matrix",
       [] { RiPolygon(1 << 27, "vertex matrix m", notRead, RI_NULL); },
       "",
       refused("RiPolygon: 134217728 vertices give parameter \"vertex matrix m\" too many values "
               "(more than 2147483647)")},
      {"2^27 points with a varying matrix",
       [] { RiPoints(1 << 27, "varying matrix m", notRead, RI_NULL); },
       "",
       refused("RiPoints: 134217728 points give parameter \"varying matrix m\" too many values "
               "(more than 2147483647)")},
      {"a blobby of 2^27 leaves with a vertex matrix",
       [] { RiBlobby(1 << 27, 0, nullptr, 0, nullptr, 0, nullptr, "vertex matrix m", notRead, RI_NULL); },
       "",
       refused("RiBlobby: 134217728 leaves give parameter \"vertex matrix m\" too many values "
               "(more than 2147483647)")},
      {"a patch mesh of 65536 by 32768 points",
       [] { RiPatchMesh(tok("bilinear"), 65536, tok("nonperiodic"), 32768, tok("nonperiodic"), RI_NULL); },
       "", refused("RiPatchMesh: nu 65536 and nv 32768" + kClassLimit)},
      {"a NURBS patch of 65536 by 32768 points",
       [] {
         RiNuPatch(65536, 1, uknots.data(), 0, 1, 32768, 1, vknots.data(), 0, 1, RI_NULL);
       },
       "", refused("RiNuPatch: nu 65536 and nv 32768" + kClassLimit)},
      {"a NURBS patch of absurd sizes, whose knots are fewer than none",
       [] {
         RtFloat knots[] = {0};
         RiNuPatch(1000000000, INT_MIN, knots, 0, 1, 1000000000, INT_MIN, knots, 0, 1, RI_NULL);
       },
       "", refused("RiNuPatch: nu 1000000000 and nv 1000000000" + kClassLimit)},
      {"curves of 2^31 vertices",
       [] {
         RtInt nvertices[2] = {kMost, 1};
         RiCurves(tok("linear"), 2, nvertices, tok("nonperiodic"), RI_NULL);
       },
       "", refused("RiCurves: nvertices adding up to 2147483648" + kClassLimit)},
      {"a polygon with holes of 2^31 vertices",
       [] {
         RtInt nvertices[2] = {kMost, 1};
         RiGeneralPolygon(2, nvertices, RI_NULL);
       },
       "", refused("RiGeneralPolygon: nvertices adding up to 2147483648" + kClassLimit)},
      {"polygons indexing vertex 2147483647",
       [] {
         RtInt nvertices[1] = {3}, vertices[3] = {0, 1, kMost};
         RiPointsPolygons(1, nvertices, vertices, RI_NULL);
       },
       "",
       refused("RiPointsPolygons: nvertices adding up to 3 and vertex indices up to 2147483647" +
               kClassLimit)},
      {"polygons indexing vertex 2147483646, the last one a request can hold",
       [] {
         RtInt nvertices[1] = {3}, vertices[3] = {0, 1, kMost - 1};
         RiPointsPolygons(1, nvertices, vertices, RI_NULL);
       },
       "PointsPolygons[3 ] [0 1 2147483646 ] \n", ""},
      {"polygons with holes indexing vertex 2147483647",
       [] {
         RtInt nloops[1] = {1}, nvertices[1] = {3}, vertices[3] = {kMost, 0, 1};
         RiPointsGeneralPolygons(1, nloops, nvertices, vertices, RI_NULL);
       },
       "",
       refused("RiPointsGeneralPolygons: nvertices adding up to 3 and vertex indices up to 2147483647" +
               kClassLimit)},
      {"a subdivision mesh indexing vertex 2147483647",
       [] {
         RtInt nvertices[1] = {3}, vertices[3] = {0, kMost, 1};
         RiSubdivisionMesh(tok("loop"), 1, nvertices, vertices, 0, nullptr, nullptr, nullptr, nullptr,
                           RI_NULL);
       },
       "",
       refused("RiSubdivisionMesh: nvertices adding up to 3 and vertex indices up to 2147483647" +
               kClassLimit)},
      {"a hierarchical subdivision mesh indexing vertex 2147483647",
       [] {
         RtInt nvertices[1] = {3}, vertices[3] = {kMost, 0, 1};
         RiHierarchicalSubdivisionMesh(tok("loop"), 1, nvertices, vertices, 0, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, RI_NULL);
       },
       "",
       refused("RiHierarchicalSubdivisionMesh: nvertices adding up to 3 and vertex indices up to "
               "2147483647" +
               kClassLimit)},
  };
  for (const Case &c : cases) {
    vellum_test::ChildResult child = vellum_test::runInChild([&] {
      RiBegin(RI_NULL);
      c.call();
      // Later requests are written as ever.
      RiSphere(1, -1, 1, 360, RI_NULL);
      RiEnd();
      // The code RiErrorPrint left, as the exit status.
      std::exit(RiLastError);
    });
    EXPECT_EQ(child.exitStatus, c.err.empty() ? RIE_NOERROR : RIE_RANGE) << c.what;
    EXPECT_EQ(child.err, c.err) << c.what;
    EXPECT_EQ(child.out, vellum_test::kHeader + c.written + "Sphere 1 -1 1 360\n\n") << c.what;
  }
}

}  // namespace
