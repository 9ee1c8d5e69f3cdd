#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "ri.h"
#include "rib/rib_writer.h"
#include "tests/test_support.h"

using vellum::RibWriter;
using vellum_test::writtenBy;

namespace {

using vellum_test::tok;

RtFloat ownFilter(RtFloat, RtFloat, RtFloat, RtFloat) { return 1; }

// The texture-making requests have no entry points: they are reached
// through the context's operations.
TEST(TextureRequests, Lines) {
  struct Case {
    const char *what;
    std::function<void(RibWriter &)> calls;
    std::string rib;
  } cases[] = {
      {"texture",
       [](RibWriter &w) {
         w.MakeTextureV(tok("a.tif"), tok("a.tex"), RI_PERIODIC, RI_CLAMP, RiGaussianFilter, 2, 2,
                        0, nullptr, nullptr);
       },
       "MakeTexture \"a.tif\" \"a.tex\" \"periodic\" \"clamp\" \"gaussian\" 2 2\n"},
      {"texture with the sinc filter",
       [](RibWriter &w) {
         w.MakeTextureV(tok("a.tif"), tok("a.tex"), RI_PERIODIC, RI_CLAMP, RiSincFilter, 1.5f,
                        0.5f, 0, nullptr, nullptr);
       },
       "MakeTexture \"a.tif\" \"a.tex\" \"periodic\" \"clamp\" \"sinc\" 1.5 0.5\n"},
      {"texture with a tiny width",
       [](RibWriter &w) {
         w.MakeTextureV(tok("b.tif"), tok("b.tex"), RI_BLACK, RI_PERIODIC, RiBoxFilter, 1e-7f, 1,
                        0, nullptr, nullptr);
       },
       "MakeTexture \"b.tif\" \"b.tex\" \"black\" \"periodic\" \"box\" 1e-07 1\n"},
      {"latlong environment",
       [](RibWriter &w) {
         w.MakeLatLongEnvironmentV(tok("sky.tif"), tok("sky.env"), RiTriangleFilter, 2, 4, 0,
                                   nullptr, nullptr);
       },
       "MakeLatLongEnvironment \"sky.tif\" \"sky.env\" \"triangle\" 2 4\n"},
      {"cube face environment",
       [](RibWriter &w) {
         w.MakeCubeFaceEnvironmentV(tok("px.tif"), tok("nx.tif"), tok("py.tif"), tok("ny.tif"),
                                    tok("pz.tif"), tok("nz.tif"), tok("room.env"), 90,
                                    RiCatmullRomFilter, 4, 4, 0, nullptr, nullptr);
       },
       "MakeCubeFaceEnvironment \"px.tif\" \"nx.tif\" \"py.tif\" \"ny.tif\" \"pz.tif\" "
       "\"nz.tif\" \"room.env\" 90 \"catmull-rom\" 4 4\n"},
      {"cube face environment with a wider field of view",
       [](RibWriter &w) {
         w.MakeCubeFaceEnvironmentV(tok("a"), tok("b"), tok("c"), tok("d"), tok("e"), tok("f"),
                                    tok("g"), 95.5f, RiGaussianFilter, 2, 2, 0, nullptr, nullptr);
       },
       "MakeCubeFaceEnvironment \"a\" \"b\" \"c\" \"d\" \"e\" \"f\" \"g\" 95.5 \"gaussian\" 2 2\n"},
      {"shadow",
       [](RibWriter &w) { w.MakeShadowV(tok("a.pic"), tok("a.shd"), 0, nullptr, nullptr); },
       "MakeShadow \"a.pic\" \"a.shd\"\n"},
      {"a client's own filter and no filter",
       [](RibWriter &w) {
         w.MakeTextureV(tok("a"), tok("b"), RI_CLAMP, RI_CLAMP, ownFilter, 1, 1, 0, nullptr,
                        nullptr);
         w.MakeLatLongEnvironmentV(tok("a"), tok("b"), nullptr, 1, 1, 0, nullptr, nullptr);
       },
       "MakeTexture \"a\" \"b\" \"clamp\" \"clamp\" \"\" 1 1\n"
       "MakeLatLongEnvironment \"a\" \"b\" \"\" 1 1\n"},
      {"names are escaped, null names are empty",
       [](RibWriter &w) {
         w.MakeShadowV(tok("my \"depth\".z"), nullptr, 0, nullptr, nullptr);
         w.MakeTextureV(nullptr, tok("x\ny"), nullptr, tok("c\\d"), RiBoxFilter, 1, 1, 0, nullptr,
                        nullptr);
       },
       "MakeShadow \"my \\\"depth\\\".z\" \"\"\n"
       "MakeTexture \"\" \"x\\ny\" \"\" \"c\\\\d\" \"box\" 1 1\n"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(writtenBy(c.calls), c.rib) << c.what;
    // No float passes through the encoders: binary mode writes the same text.
    EXPECT_EQ(writtenBy(c.calls, true), c.rib) << c.what << " (binary)";
  }
}

// Parameter lists are accepted and not written: no token is looked up, so
// even an undeclared one leaves no message.
TEST(TextureRequests, ParameterListsAreNotWritten) {
  vellum_test::ChildResult child = vellum_test::runInChild([] {
    const std::string rib = writtenBy([](RibWriter &w) {
      RtFloat blur = 0.5f;
      RtToken tokens[] = {tok("blur"), tok("nosuchparameter"), tok("fill")};
      RtPointer parms[] = {&blur, &blur, &blur};
      w.MakeTextureV(tok("a.tif"), tok("a.tex"), RI_CLAMP, RI_CLAMP, RiBoxFilter, 1, 1, 3, tokens,
                     parms);
      w.MakeLatLongEnvironment(tok("s.tif"), tok("s.env"), RiBoxFilter, 1, 1, "nosuch", &blur,
                               RI_NULL);
      w.MakeCubeFaceEnvironmentV(tok("a"), tok("b"), tok("c"), tok("d"), tok("e"), tok("f"),
                                 tok("g"), 90, RiBoxFilter, 1, 1, 3, tokens, parms);
      w.MakeShadow(tok("a.pic"), tok("a.shd"), "bias", &blur, "other", &blur, RI_NULL);
    });
    std::fputs(rib.c_str(), stdout);
  });
  EXPECT_EQ(child.exitStatus, 0);
  EXPECT_EQ(child.out,
            "MakeTexture \"a.tif\" \"a.tex\" \"clamp\" \"clamp\" \"box\" 1 1\n"
            "MakeLatLongEnvironment \"s.tif\" \"s.env\" \"box\" 1 1\n"
            "MakeCubeFaceEnvironment \"a\" \"b\" \"c\" \"d\" \"e\" \"f\" \"g\" 90 \"box\" 1 1\n"
            "MakeShadow \"a.pic\" \"a.shd\"\n");
  EXPECT_EQ(child.err, "");
}

// A writer that records the lists its texture list forms receive.
class RecordingWriter : public RibWriter {
 public:
  explicit RecordingWriter(const std::string &path) : RibWriter(tok(path.c_str()), RI_NULL) {}
  RtVoid MakeTextureV(char *picturename, char *texturename, RtToken swrap, RtToken twrap,
                      RtFilterFunc filterfunc, RtFloat swidth, RtFloat twidth, RtInt n,
                      RtToken tokens[], RtPointer parms[]) override {
    record(n, tokens, parms);
    RibWriter::MakeTextureV(picturename, texturename, swrap, twrap, filterfunc, swidth, twidth, n,
                            tokens, parms);
  }
  RtVoid MakeLatLongEnvironmentV(char *picturename, char *texturename, RtFilterFunc filterfunc,
                                 RtFloat swidth, RtFloat twidth, RtInt n, RtToken tokens[],
                                 RtPointer parms[]) override {
    record(n, tokens, parms);
    RibWriter::MakeLatLongEnvironmentV(picturename, texturename, filterfunc, swidth, twidth, n,
                                       tokens, parms);
  }
  RtVoid MakeCubeFaceEnvironmentV(char *px, char *nx, char *py, char *ny, char *pz, char *nz,
                                  char *texturename, RtFloat fov, RtFilterFunc filterfunc,
                                  RtFloat swidth, RtFloat twidth, RtInt n, RtToken tokens[],
                                  RtPointer parms[]) override {
    record(n, tokens, parms);
    RibWriter::MakeCubeFaceEnvironmentV(px, nx, py, ny, pz, nz, texturename, fov, filterfunc,
                                        swidth, twidth, n, tokens, parms);
  }
  RtVoid MakeShadowV(char *picturename, char *texturename, RtInt n, RtToken tokens[],
                     RtPointer parms[]) override {
    record(n, tokens, parms);
    RibWriter::MakeShadowV(picturename, texturename, n, tokens, parms);
  }

  RtInt count = -1;
  std::vector<std::string> tokens;
  std::vector<RtPointer> parms;

 private:
  void record(RtInt n, RtToken t[], RtPointer p[]) {
    count = n;
    tokens.clear();
    parms.clear();
    for (RtInt i = 0; i < n; ++i) {
      tokens.emplace_back(t[i]);
      parms.push_back(p[i]);
    }
  }
};

// The varargs forms hand their fixed arguments and pairs to the list forms
// through the context; at most 512 pairs are read.
TEST(TextureRequests, VarargsFormsPassTheirPairsToTheListForms) {
  const std::string path = vellum_test::tempPath("texture.rib");
  auto *writer = new RecordingWriter(path);
  RiContext(writer);
  RtFloat a = 1, b = 2;

  writer->MakeTexture(tok("a.tif"), tok("a.tex"), RI_PERIODIC, RI_CLAMP, RiGaussianFilter, 2, 2,
                      "blur", &a, "fill", &b, RI_NULL);
  EXPECT_EQ(writer->count, 2);
  EXPECT_EQ(writer->tokens, (std::vector<std::string>{"blur", "fill"}));
  EXPECT_EQ(writer->parms, (std::vector<RtPointer>{&a, &b}));

  writer->MakeLatLongEnvironment(tok("s.tif"), tok("s.env"), RiSincFilter, 1.5f, 0.5f, RI_NULL);
  EXPECT_EQ(writer->count, 0);

  writer->MakeCubeFaceEnvironment(tok("px"), tok("nx"), tok("py"), tok("ny"), tok("pz"),
                                  tok("nz"), tok("c.env"), 90, RiTriangleFilter, 3, 3, "blur",
                                  &b, RI_NULL);
  EXPECT_EQ(writer->count, 1);
  EXPECT_EQ(writer->parms, (std::vector<RtPointer>{&b}));

#define P8 "blur", &a, "blur", &a, "blur", &a, "blur", &a, "blur", &a, "blur", &a, "blur", &a, \
           "blur", &a
#define P64 P8, P8, P8, P8, P8, P8, P8, P8
  writer->MakeShadow(tok("a.pic"), tok("a.shd"), P64, P64, P64, P64, P64, P64, P64, P64, P64,
                     "bias", &b, RI_NULL);
#undef P64
#undef P8
  EXPECT_EQ(writer->count, 512);
  EXPECT_EQ(writer->tokens.back(), "blur");
  EXPECT_EQ(writer->parms.back(), &a);
  RiEnd();

  EXPECT_EQ(vellum_test::readFile(path),
            vellum_test::kHeader +
                "MakeTexture \"a.tif\" \"a.tex\" \"periodic\" \"clamp\" \"gaussian\" 2 2\n"
                "MakeLatLongEnvironment \"s.tif\" \"s.env\" \"sinc\" 1.5 0.5\n"
                "MakeCubeFaceEnvironment \"px\" \"nx\" \"py\" \"ny\" \"pz\" \"nz\" \"c.env\" 90 "
                "\"triangle\" 3 3\n"
                "MakeShadow \"a.pic\" \"a.shd\"\n\n");
}

}  // namespace
