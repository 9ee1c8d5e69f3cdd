// The requests of current RIB whose text is their own: plug-in lights and
// their handles, inline archives, volumes, hierarchical meshes, brick maps
// and procedurals by plug-in functions.  (Those written generically share
// one text, pinned by the round-trip scene.)
#include <gtest/gtest.h>

#include "ri.h"
#include "tests/test_support.h"

namespace {

using vellum_test::bytes;
using vellum_test::kSame;
using vellum_test::tok;

const std::string b1 = bytes({0x3F, 0x80, 0x00, 0x00});
const std::string bMinus1 = bytes({0xBF, 0x80, 0x00, 0x00});
const std::string bHalf = bytes({0x3F, 0x00, 0x00, 0x00});

TEST(CurrentRequests, Lines) {
  static RtFloat box[6] = {-1, 1, -1, 1, -1, 1};
  const vellum_test::LineCase cases[] = {
      {"a light by its handle, and Illuminate of it",
       [] {
         RtLightHandle key = RiLight(tok("PxrRectLight"), tok("key"), RI_NULL);
         RtLightHandle old = RiLightSource(tok("pointlight"), RI_NULL);
         RiIlluminate(key, 0);
         RiIlluminate(old, 0);
       },
       "Light \"PxrRectLight\" \"key\"\nLightSource \"pointlight\" 1\nIlluminate \"key\" 0\n"
       "Illuminate 1 0\n",
       kSame},
      {"an inline archive and its handle",
       [] {
         RtArchiveHandle part = RiArchiveBegin(tok("part"), RI_NULL);
         RiArchiveEnd();
         RiReadArchive(static_cast<RtToken>(part), nullptr, RI_NULL);
       },
       "ArchiveBegin \"part\"\nArchiveEnd\nReadArchive \"part\"\n", kSame},
      {"a volume",
       [] {
         RtInt dims[3] = {2, 1, 1};
         RtFloat density[2] = {0.5f, 1};
         RiVolume(tok("box"), box, dims, "vertex float density", density, RI_NULL);
       },
       "Volume \"box\" [-1 1 -1 1 -1 1] [2 1 1] \"vertex float density\" [0.5 1]\n",
       "Volume \"box\" " + bytes({0xC8, 0x06}) + bMinus1 + b1 + bMinus1 + b1 + bMinus1 + b1 +
           " [2 1 1] \"vertex float density\" " + bytes({0xC8, 0x02}) + bHalf + b1 + "\n"},
      // The most points a request can hold: one more is refused
      // (requests_too_large_test.cpp).
      {"a volume of the most points, without parameters",
       [] {
         RtInt dims[3] = {2, 2147483647 / 2, 1};
         RtInt most[3] = {1, 1, 2147483647};
         RiVolume(tok("ellipsoid"), box, dims, RI_NULL);
         RiVolume(tok("box"), box, most, RI_NULL);
       },
       "Volume \"ellipsoid\" [-1 1 -1 1 -1 1] [2 1073741823 1]\n"
       "Volume \"box\" [-1 1 -1 1 -1 1] [1 1 2147483647]\n",
       "Volume \"ellipsoid\" " + bytes({0xC8, 0x06}) + bMinus1 + b1 + bMinus1 + b1 + bMinus1 + b1 +
           " [2 1073741823 1]\nVolume \"box\" " + bytes({0xC8, 0x06}) + bMinus1 + b1 + bMinus1 + b1 +
           bMinus1 + b1 + " [1 1 2147483647]\n"},
      {"a hierarchical subdivision mesh",
       [] {
         RtInt faces[] = {3}, indices[] = {0, 1, 2}, nargs[] = {1, 1, 1}, ints[] = {2};
         RtFloat floats[] = {1};
         RtToken tags[] = {tok("crease")}, strings[] = {tok("s")};
         RtFloat p[9] = {0, 0, 0, 1, 0, 0, 1, 1, 0};
         RiHierarchicalSubdivisionMesh(tok("loop"), 1, faces, indices, 1, tags, nargs, ints, floats, strings,
                                       RI_P, p, RI_NULL);
       },
       "HierarchicalSubdivisionMesh \"loop\" [3 ] [0 1 2 ] [\"crease\" ] [1 1 1 ] [2 ] [1] [\"s\" ] "
       "\"P\" [0 0 0 1 0 0 1 1 0]\n",
       "HierarchicalSubdivisionMesh \"loop\" [3 ] [0 1 2 ] [\"crease\" ] [1 1 1 ] [2 ] " +
           bytes({0xC8, 0x01}) + b1 + " [\"s\" ] \"P\" " + bytes({0xC8, 0x09}) + bytes({0, 0, 0, 0}) +
           bytes({0, 0, 0, 0}) + bytes({0, 0, 0, 0}) + b1 + bytes({0, 0, 0, 0}) + bytes({0, 0, 0, 0}) + b1 +
           b1 + bytes({0, 0, 0, 0}) + "\n"},
      {"a brick map",
       [] {
         RtString clouds[] = {tok("a.ptc"), tok("b.ptc")};
         RiMakeBrickMap(2, clouds, tok("ab.bkm"), RI_NULL);
       },
       "MakeBrickMap [\"a.ptc\" \"b.ptc\" ] \"ab.bkm\"\n", kSame},
      {"a procedural by plug-in functions",
       [] {
         RtString file = tok("a.rib");
         RiProcedural2(RiProc2DelayedReadArchive, RiSimpleBound, "string filename", &file, RI_NULL);
         RiProcedural2(RiProc2DynamicLoad, nullptr, RI_NULL);
       },
       "Procedural2 \"DelayedReadArchive2\" \"SimpleBound\" \"string filename\" [\"a.rib\"]\n"
       "Procedural2 \"DynamicLoad\" \"\"\n",
       kSame},
  };
  vellum_test::expectLines(cases, sizeof cases / sizeof *cases);
}

// A function that has no name a renderer knows is written as "" and
// reported once for each kind.
TEST(CurrentRequests, UnnamedPluginFunctionsAreReported) {
  vellum_test::ChildResult run = vellum_test::runInChild([] {
    RiBegin(RI_NULL);
    RiProcedural2(nullptr, nullptr, RI_NULL);
    RiProcedural2(nullptr, nullptr, RI_NULL);
    RiEnd();
  });
  EXPECT_EQ(run.err,
            "libvellum error: Procedural2's procedural function is not a predefined one: written to "
            "standard output as \"\", which no renderer knows\n"
            "libvellum error: Procedural2's bound function is not a predefined one: written to standard "
            "output as \"\", which no renderer knows\n");
  EXPECT_EQ(run.out, vellum_test::kHeader + "Procedural2 \"\" \"\"\nProcedural2 \"\" \"\"\n\n");
}

}  // namespace
