#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <string>
#include <vector>

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

// The standard declarations, written out from the interface's list, not
// derived from the table under test: a wrong row there (say "Pz" varying
// instead of vertex) shows here.
TEST(StandardDeclarations, EveryDeclarationMatchesTheStandardList) {
  vellum_test::ribOf([] {});
  const struct {
    const char *declaration;
    std::vector<const char *> names;
  } expected[] = {
      {"uniform float",
       {"intensity", "coneangle", "conedeltaangle", "beamdistribution", "Ka", "Kd", "Ks", "Kr",
        "roughness", "mindistance", "maxdistance", "distance", "amplitude", "fov",
        "patch_multiplier", "branch_ratio", "max_branch_ratio", "patchsize", "elemsize", "minsize",
        "minshadowbias", "maxshadowbias", "refractionindex", "displacement", "bias0", "bias1",
        "zlerp", "sphere", "backfacetolerance", "maxerror", "maxpixeldist"}},
      {"uniform color",
       {"lightcolor", "specularcolor", "background", "averagecolor", "emissioncolor",
        "refractioncolor", "clearcolor", "zthreshold", "othreshold"}},
      {"uniform point",
       {"from", "to", "Np"}},
      {"uniform string",
       {"texturename", "rgb", "archive", "include", "texture", "shader", "procedural",
        "serverresource", "resource", "display", "casts_shadows", "shadows", "zonal", "verbosity",
        "cache", "name", "shadinggroup", "algorithm", "interleave", "coordinatesystem", "sense",
        "framebufferaddr", "scanlinecallback", "resolutionunit", "compression", "zcompression",
        "rowsperstrip", "filename", "mpcachedir", "seedfile", "savefile", "resize", "__category"}},
      {"varying normal",
       {"N"}},
      {"vertex point",
       {"P"}},
      {"vertex float",
       {"Pz", "_$w"}},
      {"vertex hpoint",
       {"Pw"}},
      {"varying color",
       {"Cs", "Os"}},
      {"varying float",
       {"s", "t", "width", "__nondiffuse", "__nonspecular"}},
      {"varying float[2]",
       {"st"}},
      {"constant float",
       {"constantwidth", "minwidth"}},
      {"uniform integer",
       {"look_behind", "patch_maxlevel", "patch_minlevel", "patch_splitdepth", "verbose",
        "maxsamples", "minsamples", "use_hierarchy", "max_raylevel", "debug", "has_caustics",
        "has_shadows", "shadowrays", "steps", "minpatchsamples", "zbrendspecular",
        "cooktorrancespecular", "truedisplacement", "use_shadingrate", "visibility", "gridsize",
        "binary", "eyesplits", "jitter", "texturememory", "geommemory", "derivmemory",
        "enable gaussian", "enable lerp", "disable", "automatic", "pdisc", "pdisk", "endofframe",
        "profile_shaders", "merge", "nsamples", "primary", "secondary", "shadow", "udivisions",
        "vdivisions", "windowid", "windowdpy", "windowrc", "windowstyle", "windowvi", "windowcmap",
        "clearfb", "waitforlastframe", "doublebuffer", "dumpimage", "extremedisplacement",
        "doubleshaded", "outputalldeclares", "rasterorient", "subpixel", "strategy", "mpcache",
        "mpmemory", "mpcachestride", "ysplits", "timer", "opacitycull", "hair", "clampwidth",
        "safetyfile", "centered", "extrapolate", "curvethinning", "curvethinthreshold",
        "usezbrenddspy", "usezbrendnoise", "minvalid", "interpolate", "preseed", "stitch",
        "maxdepth", "vpimage", "vpdepth", "enable", "newgroup"}},
      {"uniform integer[2]",
       {"origin", "bucketsize", "windowlocation"}},
      {"uniform float[2]",
       {"colorclamp", "resolution"}},
      {"uniform float[4]",
       {"pickregion"}},
      {"uniform float[6]",
       {"zblur"}},
      {"uniform matrix",
       {"transform"}},
  };
  const char *const interned[] = {
      "box", "catmull-rom", "gaussian", "triangle", "sinc", "filter", "swidth", "twidth", "fill",
      "fidelity", "samples", "blur", "sblur", "tblur", "bias", "lerp", "gapbias", "gapopt",
      "source", "refblur", "srefblur", "trefblur", "ignoreabove", "bilinear", "bicubic", "linear",
      "cubic", "comment", "structure", "verbatim", "identifier", "name", "ignore", "print",
      "abort", "handler", "constant", "smooth", "hidden", "paint", "inside", "outside", "lh", "rh",
      "periodic", "nonperiodic", "clamp", "black", "primitive", "intersection", "union",
      "difference", "perspective", "orthographic", "hole", "crease", "corner",
      "interpolateboundary", "raster", "screen", "NDC", "camera", "eye", "world", "current",
      "object"
  };

  std::set<std::string> declaredNames;
  for (const auto &group : expected) {
    for (const char *name : group.names) {
      declaredNames.insert(name);
      const vellum::Declaration *found = lookupDeclaration(name);
      ASSERT_NE(found, nullptr) << name;
      EXPECT_EQ(found->format(), group.declaration) << name;
      EXPECT_EQ(found->name, vellum::internString(name)) << name;
    }
  }
  EXPECT_EQ(declaredNames.size(), 181u);
  // Interned only, unless declared elsewhere in the list ("name" is).
  for (const char *name : interned) {
    if (declaredNames.count(name) != 0) continue;
    EXPECT_EQ(lookupDeclaration(name), nullptr) << name;
  }
  EXPECT_EQ(std::size(interned), 66u);

  // The table holds these and nothing else.
  int names = 0, declared = 0;
  vellum::forEachStandardDeclaration([&](const char *name, const char *declaration) {
    ++names;
    if (declaration == nullptr) return;
    ++declared;
    EXPECT_EQ(declaredNames.count(name), 1u) << name;
  });
  EXPECT_EQ(names, 247);
  EXPECT_EQ(declared, 181);
}

}  // namespace
