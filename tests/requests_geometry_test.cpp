#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "ri.h"
#include "rib/rib_writer.h"
#include "tests/test_support.h"

using vellum::RibWriter;
using vellum_test::bytes;
using vellum_test::requestsOf;
using vellum_test::writtenBy;

namespace {

using vellum_test::tok;

// IEEE singles as binary RIB writes them, most significant byte first.
const std::string b0 = bytes({0x00, 0x00, 0x00, 0x00});
const std::string bHalf = bytes({0x3F, 0x00, 0x00, 0x00});
const std::string b1 = bytes({0x3F, 0x80, 0x00, 0x00});
const std::string bMinus1 = bytes({0xBF, 0x80, 0x00, 0x00});
const std::string b2 = bytes({0x40, 0x00, 0x00, 0x00});
const std::string b2p5 = bytes({0x40, 0x20, 0x00, 0x00});
const std::string b3 = bytes({0x40, 0x40, 0x00, 0x00});
const std::string bMinus3 = bytes({0xC0, 0x40, 0x00, 0x00});
const std::string b4 = bytes({0x40, 0x80, 0x00, 0x00});
const std::string b5 = bytes({0x40, 0xA0, 0x00, 0x00});
const std::string b6 = bytes({0x40, 0xC0, 0x00, 0x00});
const std::string bMinus6 = bytes({0xC0, 0xC0, 0x00, 0x00});
const std::string b7 = bytes({0x40, 0xE0, 0x00, 0x00});
const std::string b8 = bytes({0x41, 0x00, 0x00, 0x00});
const std::string b9 = bytes({0x41, 0x10, 0x00, 0x00});
const std::string b10 = bytes({0x41, 0x20, 0x00, 0x00});
const std::string b11 = bytes({0x41, 0x30, 0x00, 0x00});
const std::string b12 = bytes({0x41, 0x40, 0x00, 0x00});
// "Kd" [0.5] in binary.
const std::string kdBinary = bytes({0xC8, 0x01}) + bHalf;
// The unit square's 12 coordinates, (0 0 0) (1 0 0) (1 1 0) (0 1 0), in binary.
const std::string squareBinary =
    bytes({0xC8, 0x0C}) + b0 + b0 + b0 + b1 + b0 + b0 + b1 + b1 + b0 + b0 + b1 + b0;

RtFloat kd = 0.5f;
RtFloat square[12] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
RtFloat ramp12[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

using Case = vellum_test::LineCase;
using vellum_test::expectLines;
using vellum_test::kSame;

// Runs `calls` in a child process and returns what the context wrote
// (between the header and the final newline) and what reached standard
// error.
vellum_test::ChildResult inChild(const std::function<void()> &calls) {
  return vellum_test::runInChild([&] {
    const std::string rib = requestsOf(calls);
    std::fwrite(rib.data(), 1, rib.size(), stdout);
  });
}

using vellum_test::handleNumber;

TEST(GeometryRequests, QuadricsAndPolygons) {
  const Case cases[] = {
      {"sphere with a varying colour",
       [] { RiSphere(1, -1, 1, 360, "Cs", ramp12, RI_NULL); },
       "Sphere 1 -1 1 360 \"Cs\" [1 2 3 4 5 6 7 8 9 10 11 12]\n",
       "Sphere 1 -1 1 360 \"Cs\" " + bytes({0xC8, 0x0C}) + b1 + b2 + b3 + b4 + b5 + b6 + b7 + b8 +
           b9 + b10 + b11 + b12 + "\n"},
      {"sphere without a list", [] { RiSphere(0.5f, -0.5f, 0.25f, 270, RI_NULL); },
       "Sphere 0.5 -0.5 0.25 270\n", kSame},
      {"cone", [] { RiCone(2, 1, 360, "Kd", &kd, RI_NULL); }, "Cone 2 1 360 \"Kd\" [0.5]\n",
       "Cone 2 1 360 \"Kd\" " + kdBinary + "\n"},
      {"cylinder", [] { RiCylinder(1, -1, 1, 180, "Kd", &kd, RI_NULL); },
       "Cylinder 1 -1 1 180 \"Kd\" [0.5]\n", "Cylinder 1 -1 1 180 \"Kd\" " + kdBinary + "\n"},
      {"disk", [] { RiDisk(0, 1, 360, "Kd", &kd, RI_NULL); }, "Disk 0 1 360 \"Kd\" [0.5]\n",
       "Disk 0 1 360 \"Kd\" " + kdBinary + "\n"},
      {"hyperboloid",
       [] {
         RtPoint p1 = {1, 0, 0}, p2 = {0, 1, 1.5f};
         RiHyperboloid(p1, p2, 360, "Kd", &kd, RI_NULL);
       },
       "Hyperboloid 1 0 0 0 1 1.5 360 \"Kd\" [0.5]\n",
       "Hyperboloid 1 0 0 0 1 1.5 360 \"Kd\" " + kdBinary + "\n"},
      {"paraboloid", [] { RiParaboloid(1, 0, 2, 360, "Kd", &kd, RI_NULL); },
       "Paraboloid 1 0 2 360 \"Kd\" [0.5]\n", "Paraboloid 1 0 2 360 \"Kd\" " + kdBinary + "\n"},
      {"torus", [] { RiTorus(1, 0.25f, 0, 360, 90, "Kd", &kd, RI_NULL); },
       "Torus 1 0.25 0 360 90 \"Kd\" [0.5]\n", "Torus 1 0.25 0 360 90 \"Kd\" " + kdBinary + "\n"},
      {"polygon", [] { RiPolygon(4, RI_P, square, RI_NULL); },
       "Polygon \"P\" [0 0 0 1 0 0 1 1 0 0 1 0]\n", "Polygon \"P\" " + squareBinary + "\n"},
      {"polygon without a list", [] { RiPolygon(3, RI_NULL); }, "Polygon\n", kSame},
      {"general polygon",
       [] {
         RtInt nverts[] = {4};
         RiGeneralPolygon(1, nverts, RI_P, square, RI_NULL);
       },
       "GeneralPolygon[4 ]  \"P\" [0 0 0 1 0 0 1 1 0 0 1 0]\n",
       "GeneralPolygon[4 ]  \"P\" " + squareBinary + "\n"},
      {"points polygons",
       [] {
         RtInt nverts[] = {3, 3}, verts[] = {0, 1, 2, 0, 2, 3};
         RiPointsPolygons(2, nverts, verts, RI_P, square, RI_NULL);
       },
       "PointsPolygons[3 3 ] [0 1 2 0 2 3 ]  \"P\" [0 0 0 1 0 0 1 1 0 0 1 0]\n",
       "PointsPolygons[3 3 ] [0 1 2 0 2 3 ]  \"P\" " + squareBinary + "\n"},
      {"points general polygons",
       [] {
         RtInt nloops[] = {2}, nverts[] = {3, 3}, verts[] = {0, 1, 2, 0, 2, 3};
         RiPointsGeneralPolygons(1, nloops, nverts, verts, "Kd", &kd, RI_NULL);
       },
       "PointsGeneralPolygons[2 ] [3 3 ] [0 1 2 0 2 3 ]  \"Kd\" [0.5]\n",
       "PointsGeneralPolygons[2 ] [3 3 ] [0 1 2 0 2 3 ]  \"Kd\" " + kdBinary + "\n"},
      {"points", [] { RiPoints(2, "constantwidth", &kd, RI_NULL); },
       "Points  \"constantwidth\" [0.5]\n", "Points  \"constantwidth\" " + kdBinary + "\n"},
  };
  expectLines(cases, sizeof cases / sizeof *cases);
}

TEST(GeometryRequests, PatchesCurvesAndMeshes) {
  const Case cases[] = {
      {"bilinear patch", [] { RiPatch(RI_BILINEAR, RI_P, square, RI_NULL); },
       "Patch \"bilinear\" \"P\" [0 0 0 1 0 0 1 1 0 0 1 0]\n",
       "Patch \"bilinear\" \"P\" " + squareBinary + "\n"},
      {"bicubic patch", [] { RiPatch(RI_BICUBIC, "Kd", &kd, RI_NULL); },
       "Patch \"bicubic\" \"Kd\" [0.5]\n", "Patch \"bicubic\" \"Kd\" " + kdBinary + "\n"},
      {"patch mesh",
       [] { RiPatchMesh(RI_BILINEAR, 2, RI_NONPERIODIC, 2, RI_PERIODIC, "Kd", ramp12, RI_NULL); },
       "PatchMesh \"bilinear\" 2 \"nonperiodic\" 2 \"periodic\" \"Kd\" [1 2]\n",
       "PatchMesh \"bilinear\" 2 \"nonperiodic\" 2 \"periodic\" \"Kd\" " + bytes({0xC8, 0x02}) +
           b1 + b2 + "\n"},
      {"nurbs patch",
       [] {
         RtFloat knots[] = {0, 0, 1, 1};
         RiNuPatch(2, 2, knots, 0, 1, 2, 2, knots, 0.25f, 0.5f, "Kd", &kd, RI_NULL);
       },
       "NuPatch 2 2 [0 0 1 1] 0.000000 1.000000 2 2 [0 0 1 1] 0.250000 0.500000  \"Kd\" [0.5]\n",
       "NuPatch 2 2 " + bytes({0xC8, 0x04}) + b0 + b0 + b1 + b1 + " 0.000000 1.000000 2 2 " +
           bytes({0xC8, 0x04}) + b0 + b0 + b1 + b1 + " 0.250000 0.500000  \"Kd\" " + kdBinary +
           "\n"},
      {"curves",
       [] {
         RtInt nverts[] = {4};
         RiCurves(RI_CUBIC, 1, nverts, RI_NONPERIODIC, "Kd", &kd, RI_NULL);
       },
       "Curves \"cubic\"[4 ] \"nonperiodic\"  \"Kd\" [0.5]\n",
       "Curves \"cubic\"[4 ] \"nonperiodic\"  \"Kd\" " + kdBinary + "\n"},
      {"subdivision mesh without tags",
       [] {
         RtInt nverts[] = {4}, verts[] = {0, 1, 2, 3};
         RiSubdivisionMesh(tok("catmull-clark"), 1, nverts, verts, 0, nullptr, nullptr, nullptr,
                           nullptr, RI_P, square, RI_NULL);
       },
       "SubdivisionMesh \"catmull-clark\" [4 ] [0 1 2 3 ]  \"P\" [0 0 0 1 0 0 1 1 0 0 1 0]\n",
       "SubdivisionMesh \"catmull-clark\" [4 ] [0 1 2 3 ]  \"P\" " + squareBinary + "\n"},
      {"subdivision mesh with tags",
       [] {
         RtInt nverts[] = {4}, verts[] = {0, 1, 2, 3};
         RtToken tags[] = {RI_CREASE, RI_INTERPOLATEBOUNDARY};
         RtInt nargs[] = {2, 1, 0, 0}, intargs[] = {0, 1};
         RtFloat floatargs[] = {2.5f};
         RiSubdivisionMesh(tok("catmull-clark"), 1, nverts, verts, 2, tags, nargs, intargs,
                           floatargs, "Kd", &kd, RI_NULL);
       },
       "SubdivisionMesh \"catmull-clark\" [4 ] [0 1 2 3 ] [\"crease\" \"interpolateboundary\" ]"
       "[2 1 0 0 ][0 1 ][2.5] \"Kd\" [0.5]\n",
       "SubdivisionMesh \"catmull-clark\" [4 ] [0 1 2 3 ] [\"crease\" \"interpolateboundary\" ]"
       "[2 1 0 0 ][0 1 ]" + bytes({0xC8, 0x01}) + b2p5 + " \"Kd\" " + kdBinary + "\n"},
      {"subdivision mesh whose tags take no arguments",
       [] {
         RtInt nverts[] = {3}, verts[] = {0, 1, 2};
         RtToken tags[] = {RI_INTERPOLATEBOUNDARY};
         RtInt nargs[] = {0, 0};
         RiSubdivisionMesh(tok("loop"), 1, nverts, verts, 1, tags, nargs, nullptr, nullptr, "Kd",
                           &kd, RI_NULL);
       },
       "SubdivisionMesh \"loop\" [3 ] [0 1 2 ] [\"interpolateboundary\" ][0 0 ][][] \"Kd\" [0.5]\n",
       "SubdivisionMesh \"loop\" [3 ] [0 1 2 ] [\"interpolateboundary\" ][0 0 ][]" +
           bytes({0xC8, 0x00}) + " \"Kd\" " + kdBinary + "\n"},
      {"subdivision mesh with integer arguments only",
       [] {
         RtInt nverts[] = {3}, verts[] = {0, 1, 2};
         RtToken tags[] = {RI_HOLE};
         RtInt nargs[] = {1, 0}, intargs[] = {0};
         RiSubdivisionMesh(tok("loop"), 1, nverts, verts, 1, tags, nargs, intargs, nullptr,
                           RI_NULL);
       },
       "SubdivisionMesh \"loop\" [3 ] [0 1 2 ] [\"hole\" ][1 0 ][0 ][]\n",
       "SubdivisionMesh \"loop\" [3 ] [0 1 2 ] [\"hole\" ][1 0 ][0 ]" + bytes({0xC8, 0x00}) + "\n"},
  };
  expectLines(cases, sizeof cases / sizeof *cases);
}

TEST(GeometryRequests, BlobbiesProceduralsAndGeometry) {
  const Case cases[] = {
      {"blobby with one ellipsoid",
       [] {
         RtInt code[] = {1001, 0};
         RtFloat flt[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
         RiBlobbyV(1, 2, code, 16, flt, 0, nullptr, 0, nullptr, nullptr);
       },
       "Blobby 1 [1001 0 ] [1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1] []\n",
       "Blobby 1 [1001 0 ] " + bytes({0xC8, 0x10}) + b1 + b0 + b0 + b0 + b0 + b1 + b0 + b0 + b0 +
           b0 + b1 + b0 + b0 + b0 + b0 + b1 + " []\n"},
      {"blobby with a list takes three lines",
       [] {
         RtInt code[] = {1000, 0, 1000, 1, 0, 2, 0, 1};
         RtFloat flt[] = {1, 2};
         RiBlobby(2, 8, code, 2, flt, 0, nullptr, "Kd", ramp12, RI_NULL);
       },
       "Blobby 2 [1000 0 1000 1 0 2 0 1 ] [1 2] []\n \"Kd\" [1]\n\n",
       "Blobby 2 [1000 0 1000 1 0 2 0 1 ] " + bytes({0xC8, 0x02}) + b1 + b2 + " []\n \"Kd\" " +
           bytes({0xC8, 0x01}) + b1 + "\n\n"},
      {"blobby with a repelling plane",
       [] {
         RtInt code[] = {1003, 0, 0};
         RtFloat flt[] = {1, 2, 3, 4};
         RtToken str[] = {tok("ground.zfile")};
         RiBlobby(1, 3, code, 4, flt, 1, str, RI_NULL);
       },
       "Blobby 1 [1003 0 0 ] [1 2 3 4] [\"ground.zfile\" ]\n",
       "Blobby 1 [1003 0 0 ] " + bytes({0xC8, 0x04}) + b1 + b2 + b3 + b4 +
           " [\"ground.zfile\" ]\n"},
      {"delayed read archive",
       [] {
         RtString data[] = {tok("tree.rib")};
         RtBound bound = {-1, 1, -1, 1, 0, 2};
         RiProcedural(data, bound, RiProcDelayedReadArchive, nullptr);
       },
       "Procedural \"DelayedReadArchive\" [\"tree.rib\"] [-1 1 -1 1 0 2]\n",
       "Procedural \"DelayedReadArchive\" [\"tree.rib\"] " + bytes({0xC8, 0x06}) + bMinus1 + b1 +
           bMinus1 + b1 + b0 + b2 + "\n"},
      {"run program",
       [] {
         RtString data[] = {tok("grow"), tok("-n 3")};
         RtBound bound = {0, 1, 0, 1, 0, 1};
         RiProcedural(data, bound, RiProcRunProgram, nullptr);
       },
       "Procedural \"RunProgram\" [\"grow\" \"-n 3\"] [0 1 0 1 0 1]\n",
       "Procedural \"RunProgram\" [\"grow\" \"-n 3\"] " + bytes({0xC8, 0x06}) + b0 + b1 + b0 +
           b1 + b0 + b1 + "\n"},
      {"dynamic load",
       [] {
         RtString data[] = {tok("grass.so"), tok("density \"high\"")};
         RtBound bound = {0, 1, 0, 1, 0, 1};
         RiProcedural(data, bound, RiProcDynamicLoad, nullptr);
       },
       "Procedural \"DynamicLoad\" [\"grass.so\" \"density \\\"high\\\"\"] [0 1 0 1 0 1]\n",
       "Procedural \"DynamicLoad\" [\"grass.so\" \"density \\\"high\\\"\"] " +
           bytes({0xC8, 0x06}) + b0 + b1 + b0 + b1 + b0 + b1 + "\n"},
      {"procedural with null data",
       [] {
         RtBound bound = {0, 1, 0, 1, 0, 1};
         RiProcedural(nullptr, bound, RiProcRunProgram, nullptr);
         RiProcedural(nullptr, bound, RiProcDelayedReadArchive, nullptr);
       },
       "Procedural \"RunProgram\" [\"\" \"\"] [0 1 0 1 0 1]\n"
       "Procedural \"DelayedReadArchive\" [\"\"] [0 1 0 1 0 1]\n",
       "Procedural \"RunProgram\" [\"\" \"\"] " + bytes({0xC8, 0x06}) + b0 + b1 + b0 + b1 + b0 +
           b1 + "\nProcedural \"DelayedReadArchive\" [\"\"] " + bytes({0xC8, 0x06}) + b0 + b1 +
           b0 + b1 + b0 + b1 + "\n"},
      {"procedural with a null string and no bound",
       [] {
         RtString data[] = {tok("lib.so"), nullptr};
         RiProcedural(data, nullptr, RiProcDynamicLoad, nullptr);
       },
       "Procedural \"DynamicLoad\" [\"lib.so\" \"\"] []\n",
       "Procedural \"DynamicLoad\" [\"lib.so\" \"\"] " + bytes({0xC8, 0x00}) + "\n"},
      {"geometry", [] { RiGeometry(tok("teapot"), RI_NULL); }, "Geometry \"teapot\"\n", kSame},
      {"geometry with a list", [] { RiGeometry(tok("bunny"), "Kd", &kd, RI_NULL); },
       "Geometry \"bunny\" \"Kd\" [0.5]\n", "Geometry \"bunny\" \"Kd\" " + kdBinary + "\n"},
      {"solid block", [] { RiSolidBegin(RI_UNION); RiSolidEnd(); },
       "SolidBegin \"union\"\nSolidEnd\n", kSame},
      {"solid operations are not checked", [] { RiSolidBegin(tok("xor")); RiSolidBegin(nullptr); },
       "SolidBegin \"xor\"\nSolidBegin \"\"\n", kSame},
      {"unbalanced solid end", [] { RiSolidEnd(); }, "SolidEnd\n", kSame},
      {"retained object",
       [] {
         RtObjectHandle object = RiObjectBegin();
         RiSphere(1, -1, 1, 360, RI_NULL);
         RiObjectEnd();
         RiObjectInstance(object);
       },
       "ObjectBegin 1\nSphere 1 -1 1 360\nObjectEnd\nObjectInstance 1\n", kSame},
      {"object instance writes any handle",
       [] { RiObjectInstance(reinterpret_cast<RtObjectHandle>(static_cast<intptr_t>(42))); },
       "ObjectInstance 42\n", kSame},
  };
  expectLines(cases, sizeof cases / sizeof *cases);
}

TEST(GeometryRequests, BasisAndTrimCurve) {
  const Case cases[] = {
      {"named bases",
       [] {
         RiBasis(RiBezierBasis, RI_BEZIERSTEP, RiBSplineBasis, RI_BSPLINESTEP);
         RiBasis(RiCatmullRomBasis, RI_CATMULLROMSTEP, RiHermiteBasis, RI_HERMITESTEP);
         RiBasis(RiPowerBasis, RI_POWERSTEP, RiPowerBasis, RI_POWERSTEP);
       },
       "Basis \"bezier\" 3 \"b-spline\" 1\nBasis \"catmull-rom\" 1 \"hermite\" 2\n"
       "Basis \"power\" 4 \"power\" 4\n",
       kSame},
      {"a copy of a named basis is written as numbers",
       [] {
         RtBasis copy;
         for (int i = 0; i < 4; ++i)
           for (int j = 0; j < 4; ++j) copy[i][j] = RiBezierBasis[i][j];
         RiBasis(copy, 3, RiBezierBasis, 3);
       },
       "Basis [-1 3 -3 1 3 -6 3 0 -3 3 0 0 1 0 0 0] 3 \"bezier\" 3\n",
       "Basis " + bytes({0xC8, 0x10}) + bMinus1 + b3 + bMinus3 + b1 + b3 + bMinus6 + b3 + b0 +
           bMinus3 + b3 + b0 + b0 + b1 + b0 + b0 + b0 + " 3 \"bezier\" 3\n"},
      {"null bases", [] { RiBasis(nullptr, 1, nullptr, 2); }, "Basis [] 1 [] 2\n",
       "Basis " + bytes({0xC8, 0x00}) + " 1 " + bytes({0xC8, 0x00}) + " 2\n"},
      {"trim curve",
       [] {
         RtInt ncurves[] = {1}, order[] = {2}, n[] = {2};
         RtFloat knot[] = {0, 0, 1, 1}, min[] = {0}, max[] = {1};
         RtFloat u[] = {0, 1}, v[] = {0, 1}, w[] = {1, 1};
         RiTrimCurve(1, ncurves, order, knot, min, max, n, u, v, w);
       },
       "TrimCurve [1 ][2 ][0 0 1 1] [0] [1] [2 ][0 1] [0 1] [1 1]\n",
       "TrimCurve [1 ][2 ]" + bytes({0xC8, 0x04}) + b0 + b0 + b1 + b1 + " " +
           bytes({0xC8, 0x01}) + b0 + " " + bytes({0xC8, 0x01}) + b1 + " [2 ]" +
           bytes({0xC8, 0x02}) + b0 + b1 + " " + bytes({0xC8, 0x02}) + b0 + b1 + " " +
           bytes({0xC8, 0x02}) + b1 + b1 + "\n"},
      {"trim curve of two loops",
       [] {
         RtInt ncurves[] = {1, 2}, order[] = {2, 2, 3}, n[] = {2, 2, 3};
         RtFloat knot[14] = {0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 0, 1, 1, 1};
         RtFloat min[] = {0, 0, 0}, max[] = {1, 1, 1};
         RtFloat u[7] = {1, 2, 3, 4, 5, 6, 7}, v[7] = {7, 6, 5, 4, 3, 2, 1};
         RtFloat w[7] = {1, 1, 1, 1, 1, 1, 1};
         RiTrimCurve(2, ncurves, order, knot, min, max, n, u, v, w);
       },
       "TrimCurve [1 2 ][2 2 3 ][0 0 1 1 0 0 1 1 0 0 0 1 1 1] [0 0 0] [1 1 1] [2 2 3 ]"
       "[1 2 3 4 5 6 7] [7 6 5 4 3 2 1] [1 1 1 1 1 1 1]\n",
       "TrimCurve [1 2 ][2 2 3 ]" + bytes({0xC8, 0x0E}) + b0 + b0 + b1 + b1 + b0 + b0 + b1 + b1 +
           b0 + b0 + b0 + b1 + b1 + b1 + " " + bytes({0xC8, 0x03}) + b0 + b0 + b0 + " " +
           bytes({0xC8, 0x03}) + b1 + b1 + b1 + " [2 2 3 ]" + bytes({0xC8, 0x07}) + b1 + b2 + b3 +
           b4 + b5 + b6 + b7 + " " + bytes({0xC8, 0x07}) + b7 + b6 + b5 + b4 + b3 + b2 + b1 +
           " " + bytes({0xC8, 0x07}) + b1 + b1 + b1 + b1 + b1 + b1 + b1 + "\n"},
  };
  expectLines(cases, sizeof cases / sizeof *cases);
}

// The predefined bases carry the interface's values, row by row: a copy of
// each is written as its 16 numbers.
TEST(GeometryRequests, PredefinedBasisValues) {
  struct BasisCase {
    const char *what;
    RtBasis *matrix;
    std::string written;
  } cases[] = {
      {"bezier", &RiBezierBasis, "[-1 3 -3 1 3 -6 3 0 -3 3 0 0 1 0 0 0]"},
      {"b-spline", &RiBSplineBasis,
       "[-0.166667 0.5 -0.5 0.166667 0.5 -1 0.5 0 -0.5 0 0.5 0 0.166667 0.666667 0.166667 0]"},
      {"catmull-rom", &RiCatmullRomBasis, "[-0.5 1.5 -1.5 0.5 1 -2.5 2 -0.5 -0.5 0 0.5 0 0 1 0 0]"},
      {"hermite", &RiHermiteBasis, "[2 1 -2 1 -3 -2 3 -1 0 1 0 0 1 0 0 0]"},
      {"power", &RiPowerBasis, "[1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1]"},
  };
  for (const BasisCase &c : cases) {
    RtBasis copy;
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 4; ++j) copy[i][j] = (*c.matrix)[i][j];
    EXPECT_EQ(requestsOf([&] { RiBasis(copy, 1, copy, 1); }),
              "Basis " + c.written + " 1 " + c.written + " 1\n")
        << c.what;
  }
  EXPECT_EQ(RiBSplineBasis[3][1], 4.0f / 6);
  EXPECT_EQ(RiCatmullRomBasis[1][1], -2.5f);
}

// Tokens of the four storage classes: the number of values written for each
// shows the vertex, varying and uniform counts the primitive passes.
RtFloat kValues[100];
RtToken kClassTokens[] = {tok("vertex float vtx"), tok("varying float vary"),
                          tok("uniform float uni"), tok("constant float con")};
RtPointer kClassParms[] = {kValues, kValues, kValues, kValues};
constexpr RtInt kClassCount = 4;

std::string numbers(int count) {
  std::string text = "[";
  for (int i = 1; i <= count; ++i) text += (i > 1 ? " " : "") + std::to_string(i);
  return text + "]";
}

std::string classList(int vertex, int varying, int uniform) {
  return " \"vertex float vtx\" " + numbers(vertex) + " \"varying float vary\" " +
         numbers(varying) + " \"uniform float uni\" " + numbers(uniform) +
         " \"constant float con\" [1]\n";
}

struct CountCase {
  const char *what;
  std::function<void()> calls;
  std::string before;  // everything written before the list
  int vertex, varying, uniform;
};

class CountRules : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 100; ++i) kValues[i] = static_cast<RtFloat>(i + 1);
  }
};

#define LIST kClassCount, kClassTokens, kClassParms

TEST_F(CountRules, QuadricsPolygonsAndPoints) {
  const CountCase cases[] = {
      {"sphere", [] { RiSphereV(1, -1, 1, 360, LIST); }, "Sphere 1 -1 1 360", 4, 4, 1},
      {"cone", [] { RiConeV(2, 1, 360, LIST); }, "Cone 2 1 360", 4, 4, 1},
      {"cylinder", [] { RiCylinderV(1, -1, 1, 360, LIST); }, "Cylinder 1 -1 1 360", 4, 4, 1},
      {"disk", [] { RiDiskV(0, 1, 360, LIST); }, "Disk 0 1 360", 4, 4, 1},
      {"hyperboloid",
       [] {
         RtPoint p1 = {1, 0, 0}, p2 = {0, 1, 1};
         RiHyperboloidV(p1, p2, 360, LIST);
       },
       "Hyperboloid 1 0 0 0 1 1 360", 4, 4, 1},
      {"paraboloid", [] { RiParaboloidV(1, 0, 2, 360, LIST); }, "Paraboloid 1 0 2 360", 4, 4, 1},
      {"torus", [] { RiTorusV(1, 0.25f, 0, 360, 360, LIST); }, "Torus 1 0.25 0 360 360", 4, 4, 1},
      {"polygon", [] { RiPolygonV(5, LIST); }, "Polygon", 5, 5, 1},
      {"general polygon",
       [] {
         RtInt nverts[] = {4, 3};
         RiGeneralPolygonV(2, nverts, LIST);
       },
       "GeneralPolygon[4 3 ] ", 7, 7, 1},
      {"points polygons",
       [] {
         RtInt nverts[] = {3, 3}, verts[] = {0, 1, 2, 0, 2, 3};
         RiPointsPolygonsV(2, nverts, verts, LIST);
       },
       "PointsPolygons[3 3 ] [0 1 2 0 2 3 ] ", 4, 4, 2},
      {"points polygons with unused vertices",
       [] {
         RtInt nverts[] = {3}, verts[] = {5, 2, 0};
         RiPointsPolygonsV(1, nverts, verts, LIST);
       },
       "PointsPolygons[3 ] [5 2 0 ] ", 6, 6, 1},
      {"points polygons with an empty verts array",
       [] {
         RtInt nverts[] = {0, 0};
         RiPointsPolygonsV(2, nverts, nullptr, LIST);
       },
       "PointsPolygons[0 0 ] [] ", 1, 1, 2},
      {"points general polygons",
       [] {
         RtInt nloops[] = {2, 1}, nverts[] = {4, 3, 3}, verts[] = {0, 1, 2, 3, 4, 5, 6, 0, 1, 7};
         RiPointsGeneralPolygonsV(2, nloops, nverts, verts, LIST);
       },
       "PointsGeneralPolygons[2 1 ] [4 3 3 ] [0 1 2 3 4 5 6 0 1 7 ] ", 8, 8, 2},
      {"points", [] { RiPointsV(3, LIST); }, "Points ", 3, 3, 1},
  };
  for (const CountCase &c : cases)
    EXPECT_EQ(requestsOf(c.calls), c.before + classList(c.vertex, c.varying, c.uniform)) << c.what;
}

TEST_F(CountRules, PatchesAndPatchMeshesWithBasisSteps) {
  const CountCase cases[] = {
      {"bilinear patch", [] { RiPatchV(RI_BILINEAR, LIST); }, "Patch \"bilinear\"", 4, 4, 1},
      {"bicubic patch", [] { RiPatchV(RI_BICUBIC, LIST); }, "Patch \"bicubic\"", 16, 4, 1},
      {"any other patch type is bicubic", [] { RiPatchV(tok("trilinear"), LIST); },
       "Patch \"trilinear\"", 16, 4, 1},
      {"bilinear mesh of one patch",
       [] { RiPatchMeshV(RI_BILINEAR, 2, RI_NONPERIODIC, 2, RI_NONPERIODIC, LIST); },
       "PatchMesh \"bilinear\" 2 \"nonperiodic\" 2 \"nonperiodic\"", 4, 4, 1},
      {"bicubic mesh of one patch",
       [] { RiPatchMeshV(RI_BICUBIC, 4, RI_NONPERIODIC, 4, RI_NONPERIODIC, LIST); },
       "PatchMesh \"bicubic\" 4 \"nonperiodic\" 4 \"nonperiodic\"", 16, 4, 1},
      {"bicubic mesh, default steps of 3",
       [] { RiPatchMeshV(RI_BICUBIC, 7, RI_NONPERIODIC, 4, RI_NONPERIODIC, LIST); },
       "PatchMesh \"bicubic\" 7 \"nonperiodic\" 4 \"nonperiodic\"", 28, 6, 2},
      {"bilinear mesh periodic in u",
       [] { RiPatchMeshV(RI_BILINEAR, 4, RI_PERIODIC, 2, RI_NONPERIODIC, LIST); },
       "PatchMesh \"bilinear\" 4 \"periodic\" 2 \"nonperiodic\"", 8, 8, 4},
      {"bicubic mesh periodic both ways",
       [] { RiPatchMeshV(RI_BICUBIC, 6, RI_PERIODIC, 6, RI_PERIODIC, LIST); },
       "PatchMesh \"bicubic\" 6 \"periodic\" 6 \"periodic\"", 36, 4, 4},
      {"a wrap other than periodic is nonperiodic",
       [] { RiPatchMeshV(RI_BILINEAR, 3, tok("Periodic"), 2, nullptr, LIST); },
       "PatchMesh \"bilinear\" 3 \"Periodic\" 2 \"\"", 6, 6, 2},
      {"steps of 1 from the basis",
       [] {
         RiBasis(RiBSplineBasis, 1, RiCatmullRomBasis, 1);
         RiPatchMeshV(RI_BICUBIC, 5, RI_NONPERIODIC, 4, RI_PERIODIC, LIST);
       },
       "Basis \"b-spline\" 1 \"catmull-rom\" 1\n"
       "PatchMesh \"bicubic\" 5 \"nonperiodic\" 4 \"periodic\"",
       20, 12, 8},
      {"u step and v step apply to their own directions",
       [] {
         RiBasis(RiBezierBasis, 3, RiHermiteBasis, 2);
         RiPatchMeshV(RI_BICUBIC, 10, RI_NONPERIODIC, 6, RI_NONPERIODIC, LIST);
       },
       "Basis \"bezier\" 3 \"hermite\" 2\n"
       "PatchMesh \"bicubic\" 10 \"nonperiodic\" 6 \"nonperiodic\"",
       60, 12, 6},
      {"the last basis sets the steps",
       [] {
         RiBasis(RiPowerBasis, 4, RiPowerBasis, 4);
         RiBasis(RiBezierBasis, 3, RiBezierBasis, 3);
         RiPatchMeshV(RI_BICUBIC, 7, RI_NONPERIODIC, 7, RI_NONPERIODIC, LIST);
       },
       "Basis \"power\" 4 \"power\" 4\nBasis \"bezier\" 3 \"bezier\" 3\n"
       "PatchMesh \"bicubic\" 7 \"nonperiodic\" 7 \"nonperiodic\"",
       49, 9, 4},
      {"steps do not change a bilinear mesh",
       [] {
         RiBasis(RiPowerBasis, 4, RiPowerBasis, 4);
         RiPatchMeshV(RI_BILINEAR, 3, RI_NONPERIODIC, 3, RI_NONPERIODIC, LIST);
       },
       "Basis \"power\" 4 \"power\" 4\nPatchMesh \"bilinear\" 3 \"nonperiodic\" 3 \"nonperiodic\"",
       9, 9, 4},
      {"a direction too short for one patch counts no patches and no varying values",
       [] {
         RiBasis(RiBSplineBasis, 1, RiBSplineBasis, 1);
         RiPatchMeshV(RI_BICUBIC, 2, RI_NONPERIODIC, 5, RI_NONPERIODIC, LIST);
       },
       "Basis \"b-spline\" 1 \"b-spline\" 1\n"
       "PatchMesh \"bicubic\" 2 \"nonperiodic\" 5 \"nonperiodic\"",
       10, 0, 0},
      {"steps do not change a patch",
       [] {
         RiBasis(RiPowerBasis, 4, RiPowerBasis, 4);
         RiPatchV(RI_BICUBIC, LIST);
       },
       "Basis \"power\" 4 \"power\" 4\nPatch \"bicubic\"", 16, 4, 1},
  };
  for (const CountCase &c : cases)
    EXPECT_EQ(requestsOf(c.calls), c.before + classList(c.vertex, c.varying, c.uniform)) << c.what;
}

TEST_F(CountRules, NuPatchesCurvesMeshesAndBlobbies) {
  static RtFloat knots[] = {0, 0, 0, 0, 1, 1, 1, 1};
  const CountCase cases[] = {
      {"nurbs patch of one span",
       [] { RiNuPatchV(4, 4, knots, 0, 1, 4, 4, knots, 0, 1, LIST); },
       "NuPatch 4 4 [0 0 0 0 1 1 1 1] 0.000000 1.000000 4 4 [0 0 0 0 1 1 1 1] 0.000000 1.000000 ",
       16, 4, 1},
      {"nurbs patch of several spans",
       [] { RiNuPatchV(5, 3, knots, 0, 1, 2, 2, knots, 0, 1, LIST); },
       "NuPatch 5 3 [0 0 0 0 1 1 1 1] 0.000000 1.000000 2 2 [0 0 0 0] 0.000000 1.000000 ", 10, 8,
       3},
      {"cubic curves, default v step of 3",
       [] {
         RtInt nverts[] = {4, 7};
         RiCurvesV(RI_CUBIC, 2, nverts, RI_NONPERIODIC, LIST);
       },
       "Curves \"cubic\"[4 7 ] \"nonperiodic\" ", 11, 5, 2},
      {"periodic cubic curves",
       [] {
         RtInt nverts[] = {6, 9};
         RiCurvesV(RI_CUBIC, 2, nverts, RI_PERIODIC, LIST);
       },
       "Curves \"cubic\"[6 9 ] \"periodic\" ", 15, 5, 2},
      {"periodic linear curve",
       [] {
         RtInt nverts[] = {3};
         RiCurvesV(RI_LINEAR, 1, nverts, RI_PERIODIC, LIST);
       },
       "Curves \"linear\"[3 ] \"periodic\" ", 3, 3, 1},
      {"nonperiodic linear curve",
       [] {
         RtInt nverts[] = {3};
         RiCurvesV(RI_LINEAR, 1, nverts, RI_NONPERIODIC, LIST);
       },
       "Curves \"linear\"[3 ] \"nonperiodic\" ", 3, 3, 1},
      {"any other type is linear",
       [] {
         RtInt nverts[] = {3, 5};
         RiCurvesV(tok("Cubic"), 2, nverts, RI_NONPERIODIC, LIST);
       },
       "Curves \"Cubic\"[3 5 ] \"nonperiodic\" ", 8, 8, 2},
      {"cubic curve after a v step of 1",
       [] {
         RtInt nverts[] = {4};
         RiBasis(RiBezierBasis, 3, RiBSplineBasis, 1);
         RiCurvesV(RI_CUBIC, 1, nverts, RI_NONPERIODIC, LIST);
       },
       "Basis \"bezier\" 3 \"b-spline\" 1\nCurves \"cubic\"[4 ] \"nonperiodic\" ", 4, 2, 1},
      {"curves use the v step, not the u step",
       [] {
         RtInt nverts[] = {8};
         RiBasis(RiBezierBasis, 3, RiHermiteBasis, 2);
         RiCurvesV(RI_CUBIC, 1, nverts, RI_NONPERIODIC, LIST);
       },
       "Basis \"bezier\" 3 \"hermite\" 2\nCurves \"cubic\"[8 ] \"nonperiodic\" ", 8, 4, 1},
      {"a cubic curve too short for one segment counts no varying values",
       [] {
         RtInt nverts[] = {2, 5};
         RiBasis(RiBSplineBasis, 1, RiBSplineBasis, 1);
         RiCurvesV(RI_CUBIC, 2, nverts, RI_NONPERIODIC, LIST);
       },
       "Basis \"b-spline\" 1 \"b-spline\" 1\nCurves \"cubic\"[2 5 ] \"nonperiodic\" ", 7, 3, 2},
      {"subdivision mesh",
       [] {
         RtInt nverts[] = {4, 4}, verts[] = {0, 1, 2, 3, 1, 4, 5, 2};
         RiSubdivisionMeshV(tok("catmull-clark"), 2, nverts, verts, 0, nullptr, nullptr, nullptr,
                            nullptr, LIST);
       },
       "SubdivisionMesh \"catmull-clark\" [4 4 ] [0 1 2 3 1 4 5 2 ] ", 6, 6, 2},
  };
  for (const CountCase &c : cases)
    EXPECT_EQ(requestsOf(c.calls), c.before + classList(c.vertex, c.varying, c.uniform)) << c.what;
  // A blobby's list has a line of its own, and an empty line follows it.
  EXPECT_EQ(requestsOf([] {
              RtInt code[] = {1000, 0, 1000, 1, 0, 2, 0, 1};
              RtFloat flt[] = {1, 2};
              RiBlobbyV(2, 8, code, 2, flt, 0, nullptr, LIST);
            }),
            "Blobby 2 [1000 0 1000 1 0 2 0 1 ] [1 2] []\n" + classList(2, 2, 1) + "\n");
}

// A step below 1 cannot divide a bicubic mesh or cubic curves: a
// diagnostic, and the counts of a primitive without patches or segments.
TEST_F(CountRules, BasisStepsBelowOneCountNoPatchesOrSegments) {
  struct StepCase {
    const char *what;
    std::function<void()> calls;
    std::string before;
    int vertex, varying, uniform;
    std::string err;
  } cases[] = {
      {"bicubic mesh with a u step of 0",
       [] {
         RiBasis(RiBezierBasis, 0, RiBezierBasis, 3);
         RiPatchMeshV(RI_BICUBIC, 4, RI_NONPERIODIC, 4, RI_NONPERIODIC, LIST);
       },
       "Basis \"bezier\" 0 \"bezier\" 3\nPatchMesh \"bicubic\" 4 \"nonperiodic\" 4 \"nonperiodic\"",
       16, 0, 0,
       "libvellum error: PatchMesh needs positive basis steps, not 0 and 3; "
       "no patches are counted\n"},
      {"bicubic mesh with a negative v step, periodic in u",
       [] {
         RiBasis(RiBezierBasis, 3, RiBezierBasis, -1);
         RiPatchMeshV(RI_BICUBIC, 8, RI_PERIODIC, 4, RI_NONPERIODIC, LIST);
       },
       "Basis \"bezier\" 3 \"bezier\" -1\nPatchMesh \"bicubic\" 8 \"periodic\" 4 \"nonperiodic\"",
       32, 0, 0,
       "libvellum error: PatchMesh needs positive basis steps, not 3 and -1; "
       "no patches are counted\n"},
      {"bilinear mesh does not need the steps",
       [] {
         RiBasis(RiBezierBasis, 0, RiBezierBasis, 0);
         RiPatchMeshV(RI_BILINEAR, 3, RI_NONPERIODIC, 2, RI_NONPERIODIC, LIST);
       },
       "Basis \"bezier\" 0 \"bezier\" 0\n"
       "PatchMesh \"bilinear\" 3 \"nonperiodic\" 2 \"nonperiodic\"",
       6, 6, 2, ""},
      {"cubic curves with a v step of 0",
       [] {
         RtInt nverts[] = {4, 6};
         RiBasis(RiBezierBasis, 3, RiBezierBasis, 0);
         RiCurvesV(RI_CUBIC, 2, nverts, RI_NONPERIODIC, LIST);
       },
       "Basis \"bezier\" 3 \"bezier\" 0\nCurves \"cubic\"[4 6 ] \"nonperiodic\" ", 10, 0, 2,
       "libvellum error: cubic Curves need a positive v step, not 0; no segments are counted\n"},
      {"periodic cubic curve with a negative v step",
       [] {
         RtInt nverts[] = {4};
         RiBasis(RiBezierBasis, 3, RiBezierBasis, -2);
         RiCurvesV(RI_CUBIC, 1, nverts, RI_PERIODIC, LIST);
       },
       "Basis \"bezier\" 3 \"bezier\" -2\nCurves \"cubic\"[4 ] \"periodic\" ", 4, 0, 1,
       "libvellum error: cubic Curves need a positive v step, not -2; no segments are counted\n"},
      {"curves do not need the u step",
       [] {
         RtInt nverts[] = {4};
         RiBasis(RiBezierBasis, 0, RiBezierBasis, 3);
         RiCurvesV(RI_CUBIC, 1, nverts, RI_NONPERIODIC, LIST);
       },
       "Basis \"bezier\" 0 \"bezier\" 3\nCurves \"cubic\"[4 ] \"nonperiodic\" ", 4, 2, 1, ""},
      {"linear curves do not need the v step",
       [] {
         RtInt nverts[] = {3};
         RiBasis(RiBezierBasis, 0, RiBezierBasis, 0);
         RiCurvesV(RI_LINEAR, 1, nverts, RI_NONPERIODIC, LIST);
       },
       "Basis \"bezier\" 0 \"bezier\" 0\nCurves \"linear\"[3 ] \"nonperiodic\" ", 3, 3, 1, ""},
  };
  for (const StepCase &c : cases) {
    vellum_test::ChildResult child = inChild(c.calls);
    EXPECT_EQ(child.exitStatus, 0) << c.what;
    EXPECT_EQ(child.out, c.before + classList(c.vertex, c.varying, c.uniform)) << c.what;
    EXPECT_EQ(child.err, c.err) << c.what;
  }
}

// A facevarying parameter takes one value per vertex of each face: the
// corners of polygons and meshes, and on the other primitives as many as
// the varying values.
TEST_F(CountRules, FaceVaryingValuesFollowTheFaceVertices) {
  RtToken token[] = {tok("facevarying float fv")};
  static RtPointer parm[] = {kValues};
  static RtToken *tokens = token;
  const struct {
    const char *what;
    std::function<void()> calls;
    std::string before;
    int faceVarying;
  } cases[] = {
      {"polygon", [] { RiPolygonV(5, 1, tokens, parm); }, "Polygon", 5},
      {"points polygons: one per corner, not per shared vertex",
       [] {
         RtInt nverts[] = {3, 3}, verts[] = {0, 1, 2, 0, 2, 3};
         RiPointsPolygonsV(2, nverts, verts, 1, tokens, parm);
       },
       "PointsPolygons[3 3 ] [0 1 2 0 2 3 ] ", 6},
      {"points general polygons",
       [] {
         RtInt nloops[] = {2}, nverts[] = {4, 3}, verts[] = {0, 1, 2, 3, 4, 5, 6};
         RiPointsGeneralPolygonsV(1, nloops, nverts, verts, 1, tokens, parm);
       },
       "PointsGeneralPolygons[2 ] [4 3 ] [0 1 2 3 4 5 6 ] ", 7},
      {"subdivision mesh",
       [] {
         RtInt nverts[] = {4, 4}, verts[] = {0, 1, 2, 3, 1, 4, 5, 2};
         RiSubdivisionMeshV(tok("catmull-clark"), 2, nverts, verts, 0, nullptr, nullptr, nullptr,
                            nullptr, 1, tokens, parm);
       },
       "SubdivisionMesh \"catmull-clark\" [4 4 ] [0 1 2 3 1 4 5 2 ] ", 8},
      {"sphere", [] { RiSphereV(1, -1, 1, 360, 1, tokens, parm); }, "Sphere 1 -1 1 360", 4},
      {"patch mesh: as the varying values",
       [] { RiPatchMeshV(RI_BILINEAR, 3, RI_NONPERIODIC, 2, RI_NONPERIODIC, 1, tokens, parm); },
       "PatchMesh \"bilinear\" 3 \"nonperiodic\" 2 \"nonperiodic\"", 6},
      {"cubic curves: as the varying values",
       [] {
         RtInt nverts[] = {4, 7};
         RiCurvesV(RI_CUBIC, 2, nverts, RI_NONPERIODIC, 1, tokens, parm);
       },
       "Curves \"cubic\"[4 7 ] \"nonperiodic\" ", 5},
  };
  for (const auto &c : cases)
    EXPECT_EQ(requestsOf(c.calls),
              c.before + " \"facevarying float fv\" " + numbers(c.faceVarying) + "\n")
        << c.what;
}

// Positions are per vertex on every primitive, whatever class a
// declaration gives them: "point P" on a polygon carries all its vertices.
TEST_F(CountRules, PositionsArePerVertexWhateverTheirClass) {
  EXPECT_EQ(requestsOf([] { RiPolygon(4, "point P", kValues, "uniform float Pz2", kValues, RI_NULL); }),
            "Polygon \"point P\" " + numbers(12) + " \"uniform float Pz2\" [1]\n");
  EXPECT_EQ(requestsOf([] {
              RiDeclare(tok("Pw"), tok("uniform hpoint"));
              RiPoints(2, "Pw", kValues, RI_NULL);
            }),
            "Declare \"Pw\" \"uniform hpoint\"\nPoints  \"Pw\" " + numbers(8) + "\n");
  // On a request that is not a primitive, the declaration alone counts.
  EXPECT_EQ(requestsOf([] { RiAttribute(tok("user"), "point P", kValues, RI_NULL); }),
            "Attribute \"user\" \"point P\" " + numbers(3) + "\n");
}

// Sizes too small for a patch or a segment, and absurd ones, read nothing
// from the caller's arrays and overflow nothing (the sanitizer build checks
// both).
TEST(GeometryRequests, DegenerateSizesReadNoValues) {
  const Case cases[] = {
      {"bilinear patch mesh without rows",
       [] {
         std::vector<RtFloat> none(1);
         RiPatchMesh(RI_BILINEAR, 0, RI_NONPERIODIC, 2, RI_NONPERIODIC, "varying float v",
                     none.data(), "uniform float u", none.data(), RI_NULL);
       },
       "PatchMesh \"bilinear\" 0 \"nonperiodic\" 2 \"nonperiodic\" \"varying float v\" [] "
       "\"uniform float u\" []\n",
       "PatchMesh \"bilinear\" 0 \"nonperiodic\" 2 \"nonperiodic\" \"varying float v\" " +
           bytes({0xC8, 0x00}) + " \"uniform float u\" " + bytes({0xC8, 0x00}) + "\n"},
      {"cubic curve too short for a segment",
       [] {
         RtInt nverts[] = {2};
         std::vector<RtFloat> width(1), p(6);
         RiBasis(RiBSplineBasis, 1, RiBSplineBasis, 1);
         RiCurves(RI_CUBIC, 1, nverts, RI_NONPERIODIC, RI_P, p.data(), RI_WIDTH, width.data(),
                  RI_NULL);
       },
       "Basis \"b-spline\" 1 \"b-spline\" 1\nCurves \"cubic\"[2 ] \"nonperiodic\"  \"P\" [0 0 0 0 0 0] "
       "\"width\" []\n",
       "Basis \"b-spline\" 1 \"b-spline\" 1\nCurves \"cubic\"[2 ] \"nonperiodic\"  \"P\" " +
           bytes({0xC8, 0x06}) + b0 + b0 + b0 + b0 + b0 + b0 + " \"width\" " + bytes({0xC8, 0x00}) +
           "\n"},
      // (Absurd sizes whose counts are past what a request holds are not
      // written at all: requests_too_large_test.cpp.)
      {"nurbs patch of negative orders, fewer knots than none",
       [] {
         RtFloat knots[] = {0};
         RiNuPatch(1, -5, knots, 0, 1, 1, -5, knots, 0, 1, "constant float c", &kd, RI_NULL);
       },
       "NuPatch 1 -5 [] 0.000000 1.000000 1 -5 [] 0.000000 1.000000  \"constant float c\" [0.5]\n",
       "NuPatch 1 -5 " + bytes({0xC8, 0x00}) + " 0.000000 1.000000 1 -5 " + bytes({0xC8, 0x00}) +
           " 0.000000 1.000000  \"constant float c\" " + kdBinary + "\n"},
  };
  expectLines(cases, sizeof cases / sizeof *cases);
}

#undef LIST

// The line of an unknown patch-mesh type is ended, so the next request
// starts on its own line.
TEST(GeometryRequests, UnknownPatchMeshTypeIsReportedAndItsLineEnded) {
  vellum_test::ChildResult child = inChild([] {
    RiPatchMesh(tok("trilinear"), 2, RI_NONPERIODIC, 2, RI_NONPERIODIC, "Kd", &kd, RI_NULL);
    RiWorldBegin();
    RiPatchMeshV(nullptr, 4, RI_PERIODIC, 4, RI_PERIODIC, 0, nullptr, nullptr);
    RiWorldEnd();
  });
  EXPECT_EQ(child.exitStatus, 0);
  EXPECT_EQ(child.out,
            "PatchMesh \"trilinear\" 2 \"nonperiodic\" 2 \"nonperiodic\"\nWorldBegin\n"
            "PatchMesh \"\" 4 \"periodic\" 4 \"periodic\"\nWorldEnd\n");
  EXPECT_EQ(child.err, "vellum: unknown patch type trilinear\nvellum: unknown patch type \n");
}

TEST(GeometryRequests, UnknownProceduralIsReportedAndNotWritten) {
  vellum_test::ChildResult child = inChild([] {
    RtString data[] = {tok("x")};
    RtBound bound = {0, 1, 0, 1, 0, 1};
    RiProcedural(data, bound, [](RtPointer, RtFloat) {}, nullptr);
    RiProcedural(data, bound, nullptr, nullptr);
    RiWorldBegin();
  });
  EXPECT_EQ(child.exitStatus, 0);
  EXPECT_EQ(child.out, "WorldBegin\n");
  EXPECT_EQ(child.err, "libvellum error: procedural type\nlibvellum error: procedural type\n");
}

// Each message begins with a line end and has none at its end; the request
// is written with the caller's numbers in every case.  The code arrays are
// exactly ncode long, so a read past them is caught by the sanitizers.
TEST(GeometryRequests, BlobbyCountMismatchesAndMalformedCode) {
  struct BlobbyCase {
    const char *what;
    RtInt nleaf;
    std::vector<RtInt> code;
    RtInt nflt, nstr;
    std::string out;
    std::string err;
  } cases[] = {
      {"consistent counts", 1, {1000, 0, 6, 0}, 1, 0, "Blobby 1 [1000 0 6 0 ] [1] []\n", ""},
      {"one ellipsoid but two leaves announced", 2, {1001, 0}, 16, 0,
       "Blobby 2 [1001 0 ] [1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16] []\n",
       "\nlibvellum error: RiBlobby nleaf [2] !=  leaf count [1]"},
      {"all three counts differ, reported in order", 0, {1003, 0, 0}, 1, 0,
       "Blobby 0 [1003 0 0 ] [1] []\n",
       "\nlibvellum error: RiBlobby nleaf [0] !=  leaf count [1]"
       "\nlibvellum error: RiBlobby nflt [1] != float count [4]"
       "\nlibvellum error: RiBlobby nstr [0] != string count [1]"},
      {"segment and operators", 2, {1002, 0, 1000, 23, 4, 0, 1, 5, 0, 1, 7, 0}, 24, 0,
       "Blobby 2 [1002 0 1000 23 4 0 1 5 0 1 7 0 ] [1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 "
       "19 20 21 22 23 24] []\n",
       ""},
      {"a leaf after a subtract", 2, {1000, 0, 4, 0, 0, 1001, 1}, 17, 0,
       "Blobby 2 [1000 0 4 0 0 1001 1 ] [1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17] []\n", ""},
      {"unknown opcodes advance by one", 1, {99, 1000, 0}, 1, 0,
       "Blobby 1 [99 1000 0 ] [1] []\n", ""},
      {"negative operand count ends the walk", 1, {0, -2, 1000, 0}, 1, 0,
       "Blobby 1 [0 -2 1000 0 ] [1] []\n",
       "\nlibvellum error: RiBlobby nleaf [1] !=  leaf count [0]"
       "\nlibvellum error: RiBlobby nflt [1] != float count [0]"},
      {"missing operand count ends the walk", 1, {1000, 0, 0}, 1, 0,
       "Blobby 1 [1000 0 0 ] [1] []\n", ""},
      {"operands announced beyond the code", 0, {0, 5, 1000, 0}, 0, 0,
       "Blobby 0 [0 5 1000 0 ] [] []\n", ""},
      {"the largest operand count", 0, {1, INT_MAX}, 0, 0,
       "Blobby 0 [1 2147483647 ] [] []\n", ""},
      {"a leaf at the end whose operands are missing", 1, {1003}, 4, 1,
       "Blobby 1 [1003 ] [1 2 3 4] [\"s\" ]\n", ""},
      {"negative counts", -1, {}, -1, -1, "Blobby -1 [] [] []\n",
       "\nlibvellum error: RiBlobby nleaf [-1] !=  leaf count [0]"
       "\nlibvellum error: RiBlobby nflt [-1] != float count [0]"
       "\nlibvellum error: RiBlobby nstr [-1] != string count [0]"},
  };
  for (BlobbyCase &c : cases) {
    vellum_test::ChildResult child = inChild([&] {
      std::vector<RtFloat> flt(30);
      for (size_t i = 0; i < flt.size(); ++i) flt[i] = static_cast<RtFloat>(i + 1);
      RtToken str[] = {tok("s")};
      RtInt *code = c.code.empty() ? nullptr : c.code.data();
      RiBlobbyV(c.nleaf, c.code.empty() ? -1 : static_cast<RtInt>(c.code.size()), code, c.nflt,
                flt.data(), c.nstr, str, 0, nullptr, nullptr);
    });
    EXPECT_EQ(child.exitStatus, 0) << c.what;
    EXPECT_EQ(child.out, c.out) << c.what;
    EXPECT_EQ(child.err, c.err) << c.what;
  }
}

// A blobby is one surface: one uniform value, and one value per leaf in
// the vertex and varying classes.  Each array holds exactly the values
// the client passes, so that reading one more is caught by the sanitizers.
TEST(GeometryRequests, BlobbyHasOneUniformValue) {
  for (RtInt nleaf : {1, 2, 5}) {
    std::vector<RtInt> code;
    std::vector<RtFloat> perLeaf;
    for (RtInt i = 0; i < nleaf; ++i) {
      code.insert(code.end(), {1000, i});
      perLeaf.push_back(static_cast<RtFloat>(i + 1));
    }
    std::vector<RtFloat> uniform(1, 7.0f), varying(perLeaf);
    RtToken tokens[] = {tok("uniform float u"), tok("vertex float v"), tok("varying float w")};
    RtPointer parms[] = {uniform.data(), perLeaf.data(), varying.data()};
    std::string codeText, leaves;
    for (RtInt i = 0; i < nleaf; ++i) {
      codeText += "1000 " + std::to_string(i) + " ";
      leaves += (i > 0 ? " " : "") + std::to_string(i + 1);
    }
    EXPECT_EQ(requestsOf([&] {
                RiBlobbyV(nleaf, 2 * nleaf, code.data(), nleaf, perLeaf.data(), 0, nullptr, 3, tokens,
                          parms);
              }),
              "Blobby " + std::to_string(nleaf) + " [" + codeText + "] [" + leaves + "] []\n" +
                  " \"uniform float u\" [7] \"vertex float v\" [" + leaves + "] \"varying float w\" [" +
                  leaves + "]\n\n")
        << nleaf;
  }
}

// A negative list count is no list: one line.
TEST(GeometryRequests, BlobbyWithANegativeListCountTakesOneLine) {
  RtInt code[] = {1000, 0};
  RtFloat flt[] = {3};
  RtToken tokens[] = {tok("Kd")};
  RtPointer parms[] = {&kd};
  EXPECT_EQ(requestsOf([&] { RiBlobbyV(1, 2, code, 1, flt, 0, nullptr, -1, tokens, parms); }),
            "Blobby 1 [1000 0 ] [3] []\n");
}

// Negative counts and null arrays write no values and never crash.
TEST(GeometryRequests, NegativeCountsAndNullArraysWriteNoValues) {
  struct NullCase {
    const char *what;
    std::function<void()> calls;
    std::string rib;
  } cases[] = {
      {"polygon", [] { RiPolygon(-3, RI_P, square, RI_NULL); }, "Polygon \"P\" []\n"},
      {"general polygon", [] { RiGeneralPolygon(-1, nullptr, RI_P, square, RI_NULL); },
       "GeneralPolygon[]  \"P\" []\n"},
      {"general polygon without loop sizes",
       [] { RiGeneralPolygon(2, nullptr, RI_P, square, RI_NULL); },
       "GeneralPolygon[]  \"P\" []\n"},
      {"points polygons",
       [] { RiPointsPolygons(-1, nullptr, nullptr, RI_P, square, "Kd", &kd, RI_NULL); },
       "PointsPolygons[] []  \"P\" [0 0 0] \"Kd\" []\n"},
      {"points general polygons",
       [] { RiPointsGeneralPolygons(-2, nullptr, nullptr, nullptr, "Kd", &kd, RI_NULL); },
       "PointsGeneralPolygons[] [] []  \"Kd\" []\n"},
      {"points", [] { RiPoints(-2, RI_P, square, RI_NULL); }, "Points  \"P\" []\n"},
      {"patch mesh",
       [] {
         RiPatchMesh(RI_BILINEAR, -2, RI_NONPERIODIC, 2, RI_NONPERIODIC, RI_P, square, "Kd", &kd,
                     RI_NULL);
       },
       "PatchMesh \"bilinear\" -2 \"nonperiodic\" 2 \"nonperiodic\" \"P\" [] \"Kd\" []\n"},
      {"nurbs patch",
       [] {
         RtFloat knots[] = {0, 0, 1, 1};
         RiNuPatch(-2, 2, knots, 0, 1, 2, 2, nullptr, 0, 1, RI_P, square, "Kd", &kd, RI_NULL);
       },
       "NuPatch -2 2 [] 0.000000 1.000000 2 2 [] 0.000000 1.000000  \"P\" [] \"Kd\" []\n"},
      {"curves", [] { RiCurves(RI_LINEAR, -1, nullptr, RI_NONPERIODIC, RI_P, square, RI_NULL); },
       "Curves \"linear\"[] \"nonperiodic\"  \"P\" []\n"},
      {"cubic curves without vertex counts",
       [] { RiCurves(RI_CUBIC, 3, nullptr, RI_PERIODIC, RI_P, square, "Kd", &kd, RI_NULL); },
       "Curves \"cubic\"[] \"periodic\"  \"P\" [] \"Kd\" []\n"},
      {"subdivision mesh",
       [] {
         RiSubdivisionMesh(nullptr, -1, nullptr, nullptr, -1, nullptr, nullptr, nullptr, nullptr,
                           "Kd", &kd, RI_NULL);
       },
       "SubdivisionMesh \"\" [] []  \"Kd\" []\n"},
      {"subdivision mesh with null tag arrays",
       [] {
         RtInt nverts[] = {3}, verts[] = {0, 1, 2};
         RiSubdivisionMesh(tok("loop"), 1, nverts, verts, 1, nullptr, nullptr, nullptr, nullptr,
                           "Kd", &kd, RI_NULL);
       },
       "SubdivisionMesh \"loop\" [3 ] [0 1 2 ] [][][][] \"Kd\" [0.5]\n"},
      {"trim curve",
       [] {
         RiTrimCurve(-1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr);
       },
       "TrimCurve [][][] [] [] [][] [] []\n"},
      {"trim curve with null value arrays",
       [] {
         RtInt ncurves[] = {1}, order[] = {2}, n[] = {2};
         RiTrimCurve(1, ncurves, order, nullptr, nullptr, nullptr, n, nullptr, nullptr, nullptr);
       },
       "TrimCurve [1 ][2 ][] [] [] [2 ][] [] []\n"},
      {"hyperboloid without points", [] { RiHyperboloid(nullptr, nullptr, 360, RI_NULL); },
       "Hyperboloid 0 0 0 0 0 0 360\n"},
  };
  for (const NullCase &c : cases) EXPECT_EQ(requestsOf(c.calls), c.rib) << c.what;
}

// Object handles number ObjectBegin within a context, apart from the light
// handles; frames and worlds do not reset them, a new context does.
TEST(GeometryRequests, ObjectHandlesNumberObjectsWithinAContext) {
  RtObjectHandle first = nullptr, second = nullptr, again = nullptr;
  RtLightHandle light = nullptr;
  const std::string rib = requestsOf([&] {
    RiFrameBegin(1);
    light = RiLightSource(tok("distantlight"), RI_NULL);
    first = RiObjectBegin();
    RiSphere(1, -1, 1, 360, RI_NULL);
    RiObjectEnd();
    RiFrameEnd();
    RiFrameBegin(2);
    RiWorldBegin();
    second = RiObjectBegin();
    RiObjectEnd();
    RiObjectInstance(first);
    RiObjectInstance(second);
    RiWorldEnd();
    RiFrameEnd();
  });
  EXPECT_EQ(rib,
            "FrameBegin 1\nLightSource \"distantlight\" 1\nObjectBegin 1\nSphere 1 -1 1 360\n"
            "ObjectEnd\nFrameEnd\nFrameBegin 2\nWorldBegin\nObjectBegin 2\nObjectEnd\n"
            "ObjectInstance 1\nObjectInstance 2\nWorldEnd\nFrameEnd\n");
  EXPECT_EQ(handleNumber(light), 1);
  EXPECT_EQ(handleNumber(first), 1);
  EXPECT_EQ(handleNumber(second), 2);
  EXPECT_EQ(requestsOf([&] { again = RiObjectBegin(); }), "ObjectBegin 1\n");
  EXPECT_EQ(handleNumber(again), 1);
}

// Operands formatted into a request's own text replace non-finite values
// as the float encoders do, with one diagnostic per context.
TEST(GeometryRequests, NonFiniteOperandsAreWrittenAsNumbers) {
  const std::string path = vellum_test::tempPath("nonfinite.rib");
  vellum_test::ChildResult child = vellum_test::runInChild([&] {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    RiBegin(tok(path.c_str()));
    RiSphere(inf, -inf, nan, 360, RI_NULL);
    RiNuPatch(1, 1, nullptr, nan, 1, 1, 1, nullptr, 0, 1, RI_NULL);
    RiEnd();
  });
  EXPECT_EQ(child.exitStatus, 0);
  EXPECT_EQ(vellum_test::readFile(path),
            vellum_test::kHeader +
                "Sphere 1e+38 -1e+38 0 360\n"
                "NuPatch 1 1 [] 0.000000 1.000000 1 1 [] 0.000000 1.000000 \n\n");
  EXPECT_EQ(child.err, "libvellum error: non-finite float written to " + path +
                           " as 1e+38, -1e+38 or 0\n");
}

// The varargs forms of the context collect their pairs and call the list
// forms.
TEST(GeometryRequests, VarargsFormsOfTheContext) {
  RtInt nverts[] = {3}, verts[] = {0, 1, 2}, curveVerts[] = {4};
  RtInt nloops[] = {1};
  RtFloat knots[] = {0, 0, 1, 1};
  RtInt code[] = {1000, 0};
  RtFloat flt[] = {2};
  RtPoint p1 = {1, 0, 0}, p2 = {0, 1, 0};
  struct VarargsCase {
    const char *what;
    std::function<void(RibWriter &)> calls;
    std::string ascii;
  } cases[] = {
      {"cone", [&](RibWriter &w) { w.Cone(2, 1, 360, "Kd", &kd, RI_NULL); },
       "Cone 2 1 360 \"Kd\" [0.5]\n"},
      {"cylinder", [&](RibWriter &w) { w.Cylinder(1, -1, 1, 360, "Kd", &kd, RI_NULL); },
       "Cylinder 1 -1 1 360 \"Kd\" [0.5]\n"},
      {"disk", [&](RibWriter &w) { w.Disk(0, 1, 360, "Kd", &kd, RI_NULL); },
       "Disk 0 1 360 \"Kd\" [0.5]\n"},
      {"hyperboloid", [&](RibWriter &w) { w.Hyperboloid(p1, p2, 360, "Kd", &kd, RI_NULL); },
       "Hyperboloid 1 0 0 0 1 0 360 \"Kd\" [0.5]\n"},
      {"paraboloid", [&](RibWriter &w) { w.Paraboloid(1, 0, 2, 360, "Kd", &kd, RI_NULL); },
       "Paraboloid 1 0 2 360 \"Kd\" [0.5]\n"},
      {"sphere", [&](RibWriter &w) { w.Sphere(1, -1, 1, 360, "Kd", &kd, RI_NULL); },
       "Sphere 1 -1 1 360 \"Kd\" [0.5]\n"},
      {"torus", [&](RibWriter &w) { w.Torus(1, 0.5f, 0, 360, 360, "Kd", &kd, RI_NULL); },
       "Torus 1 0.5 0 360 360 \"Kd\" [0.5]\n"},
      {"polygon", [&](RibWriter &w) { w.Polygon(3, RI_P, square, RI_NULL); },
       "Polygon \"P\" [0 0 0 1 0 0 1 1 0]\n"},
      {"general polygon", [&](RibWriter &w) { w.GeneralPolygon(1, nverts, RI_P, square, RI_NULL); },
       "GeneralPolygon[3 ]  \"P\" [0 0 0 1 0 0 1 1 0]\n"},
      {"points polygons",
       [&](RibWriter &w) { w.PointsPolygons(1, nverts, verts, RI_P, square, RI_NULL); },
       "PointsPolygons[3 ] [0 1 2 ]  \"P\" [0 0 0 1 0 0 1 1 0]\n"},
      {"points general polygons",
       [&](RibWriter &w) { w.PointsGeneralPolygons(1, nloops, nverts, verts, "Kd", &kd, RI_NULL); },
       "PointsGeneralPolygons[1 ] [3 ] [0 1 2 ]  \"Kd\" [0.5]\n"},
      {"patch", [&](RibWriter &w) { w.Patch(RI_BICUBIC, "Kd", &kd, RI_NULL); },
       "Patch \"bicubic\" \"Kd\" [0.5]\n"},
      {"patch mesh",
       [&](RibWriter &w) {
         w.PatchMesh(RI_BILINEAR, 2, RI_NONPERIODIC, 2, RI_NONPERIODIC, "Kd", &kd, RI_NULL);
       },
       "PatchMesh \"bilinear\" 2 \"nonperiodic\" 2 \"nonperiodic\" \"Kd\" [0.5]\n"},
      {"nurbs patch",
       [&](RibWriter &w) { w.NuPatch(2, 2, knots, 0, 1, 2, 2, knots, 0, 1, "Kd", &kd, RI_NULL); },
       "NuPatch 2 2 [0 0 1 1] 0.000000 1.000000 2 2 [0 0 1 1] 0.000000 1.000000  \"Kd\" [0.5]\n"},
      {"curves",
       [&](RibWriter &w) {
         w.Curves(RI_CUBIC, 1, curveVerts, RI_NONPERIODIC, "Kd", &kd, RI_NULL);
       },
       "Curves \"cubic\"[4 ] \"nonperiodic\"  \"Kd\" [0.5]\n"},
      {"points", [&](RibWriter &w) { w.Points(1, "constantwidth", &kd, RI_NULL); },
       "Points  \"constantwidth\" [0.5]\n"},
      {"subdivision mesh",
       [&](RibWriter &w) {
         w.SubdivisionMesh(tok("loop"), 1, nverts, verts, 0, nullptr, nullptr, nullptr, nullptr,
                           "Kd", &kd, RI_NULL);
       },
       "SubdivisionMesh \"loop\" [3 ] [0 1 2 ]  \"Kd\" [0.5]\n"},
      {"blobby",
       [&](RibWriter &w) { w.Blobby(1, 2, code, 1, flt, 0, nullptr, "Kd", &kd, RI_NULL); },
       "Blobby 1 [1000 0 ] [2] []\n \"Kd\" [0.5]\n\n"},
      {"blobby without a list",
       [&](RibWriter &w) { w.Blobby(1, 2, code, 1, flt, 0, nullptr, RI_NULL); },
       "Blobby 1 [1000 0 ] [2] []\n"},
      {"geometry", [&](RibWriter &w) { w.Geometry(tok("teapot"), "Kd", &kd, RI_NULL); },
       "Geometry \"teapot\" \"Kd\" [0.5]\n"},
  };
  for (const VarargsCase &c : cases) EXPECT_EQ(writtenBy(c.calls), c.ascii) << c.what;
  // One binary check: the pairs reach the list form, whose floats follow the flag.
  EXPECT_EQ(writtenBy([](RibWriter &w) { w.Sphere(1, -1, 1, 360, "Kd", &kd, RI_NULL); }, true),
            "Sphere 1 -1 1 360 \"Kd\" " + kdBinary + "\n");
}

// A varargs form reads at most 512 pairs; the 513th and later are not read.
TEST(GeometryRequests, VarargsFormsPassAtMost512Pairs) {
  RtFloat ks = 2;
#define P8 "Kd", &kd, "Kd", &kd, "Kd", &kd, "Kd", &kd, "Kd", &kd, "Kd", &kd, "Kd", &kd, "Kd", &kd
#define P64 P8, P8, P8, P8, P8, P8, P8, P8
  const std::string rib = writtenBy([&](RibWriter &w) {
    w.Sphere(1, -1, 1, 360, P64, P64, P64, P64, P64, P64, P64, P64, "Ks", &ks, "Ks", &ks,
             RI_NULL);
  });
#undef P64
#undef P8
  std::string expected = "Sphere 1 -1 1 360";
  for (int i = 0; i < 512; ++i) expected += " \"Kd\" [0.5]";
  EXPECT_EQ(rib, expected + "\n");
}

// The test scene's calls, made in this process, write exactly its RIB into a
// shell command.
TEST(TestScene, ExactBytesThroughAShellCommand) {
  static RtFloat sceneSquare[4][3] = {
      {0.2f, 1.5f, 2.5f}, {-0.2f, 1.5f, 2.5f}, {-0.2f, 0.0f, 2.5f}, {0.2f, 0.0f, 2.5f}};
  static RtColor blue = {0.2f, 0.3f, 0.9f};
  static RtColor red = {0.9f, 0.3f, 0.2f};
  const std::string path = vellum_test::tempPath("scene.rib");
  const std::string command = "|cat > '" + path + "'";
  RiBegin(tok(command.c_str()));
  RtLightHandle light = RiLightSource(tok("distantlight"), RI_NULL);
  RiProjection(tok("perspective"), RI_NULL);
  RiWorldBegin();
  RiAttributeBegin();
  RiColor(blue);
  RiSurface(tok("matte"), RI_NULL);
  RiPolygon(4, RI_P, static_cast<RtPointer>(sceneSquare), RI_NULL);
  RiAttributeEnd();
  RiAttributeBegin();
  RiSkew(45, 0, 1, 0, 1, 0, 0);
  RiColor(red);
  RiSurface(tok("matte"), RI_NULL);
  RiPolygon(4, RI_P, static_cast<RtPointer>(sceneSquare), RI_NULL);
  RiAttributeEnd();
  RiWorldEnd();
  RiEnd();
  EXPECT_EQ(handleNumber(light), 1);
  EXPECT_EQ(vellum_test::readFile(path), vellum_test::kTestSceneRib);
}

}  // namespace

// A uniform parameter of Curves carries one value per curve, as renderers
// read it: an array sized so (on the heap, where the sanitizer build sees
// any read past it) is written whole and never over-read.
TEST(GeometryRequests, CurvesTakeOneUniformValuePerCurve) {
  const Case cases[] = {
      {"cubic curves of one and two segments",
       [] {
         RtInt nverts[] = {4, 7};
         std::vector<RtFloat> perCurve = {0.25f, 0.5f};
         RiCurves(RI_CUBIC, 2, nverts, RI_NONPERIODIC, "uniform float u", perCurve.data(), RI_NULL);
       },
       "Curves \"cubic\"[4 7 ] \"nonperiodic\"  \"uniform float u\" [0.25 0.5]\n",
       "Curves \"cubic\"[4 7 ] \"nonperiodic\"  \"uniform float u\" " + bytes({0xC8, 0x02}) +
           bytes({0x3E, 0x80, 0x00, 0x00}) + bHalf + "\n"},
      {"linear curves",
       [] {
         RtInt nverts[] = {3, 5};
         std::vector<RtFloat> perCurve = {1, 2};
         RiCurves(RI_LINEAR, 2, nverts, RI_NONPERIODIC, "uniform float u", perCurve.data(), RI_NULL);
       },
       "Curves \"linear\"[3 5 ] \"nonperiodic\"  \"uniform float u\" [1 2]\n",
       "Curves \"linear\"[3 5 ] \"nonperiodic\"  \"uniform float u\" " + bytes({0xC8, 0x02}) + b1 +
           b2 + "\n"},
  };
  expectLines(cases, sizeof cases / sizeof *cases);
}
