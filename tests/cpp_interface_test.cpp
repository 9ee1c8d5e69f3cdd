// The C++ interface (ri.hpp): what an object writes is what the C interface
// writes for the same calls; what the C interface keeps for the process is
// the object's own; an object that cannot go on says so as C++ does.
#include <ri.hpp>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "decl/declaration.h"
#include "reader/rib_reader.h"
#include "rib/own_environment.h"
#include "rib/rib_writer.h"
#include "tests/test_support.h"

namespace {

using vellum_test::tok;

// What `calls` writes to a file through an object, and what `cCalls`
// writes through the C interface, with the same settings.
std::string objectBytes(const std::function<void(vellum::Ri &)> &calls, const vellum::RibSettings &settings = {}) {
  const std::string path = vellum_test::tempPath("object.rib");
  {
    vellum::Ri ri(path.c_str(), settings);
    calls(ri);
  }
  std::string bytes = vellum_test::readFile(path);
  std::remove(path.c_str());
  return settings.gzip ? vellum_test::gunzip(bytes) : bytes;
}

std::string cBytes(const std::function<void()> &calls, const vellum::RibSettings &settings = {}) {
  const std::string path = vellum_test::tempPath("c.rib");
  RtInt binary = settings.binary, precision = settings.precision;
  RtString compression = tok(settings.gzip ? "gzip" : "none");
  RiOption(tok("rib"), "binary", &binary, "precision", &precision, "compression", &compression, RI_NULL);
  RiBegin(tok(path.c_str()));
  calls();
  RiEnd();
  RtInt zero = 0, six = 6;
  RtString none = tok("none");
  RiOption(tok("rib"), "binary", &zero, "precision", &six, "compression", &none, RI_NULL);
  std::string bytes = vellum_test::readFile(path);
  std::remove(path.c_str());
  return settings.gzip ? vellum_test::gunzip(bytes) : bytes;
}

RtFloat kSquare[] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
RtFloat kColours[] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 1, 1};

TEST(CppInterface, AnObjectWritesTheBytesOfTheCInterface) {
  struct Case {
    const char *what;
    std::function<void(vellum::Ri &)> object;
    std::function<void()> c;
    vellum::RibSettings settings;
  };
  const Case cases[] = {
      {"plain requests and a const string",
       [](vellum::Ri &ri) {
         ri.Format(640, 480, 1);
         ri.WorldBegin();
         ri.Surface("plastic");
         ri.WorldEnd();
       },
       [] {
         RiFormat(640, 480, 1);
         RiWorldBegin();
         RiSurface(tok("plastic"), RI_NULL);
         RiWorldEnd();
       },
       {}},
      {"both forms of a parameter list",
       [](vellum::Ri &ri) {
         ri.Sphere(1, -1, 1, 360, {{"Cs", kColours}});
         RtToken tokens[] = {tok("P")};
         RtPointer parms[] = {kSquare};
         RtInt nverts[] = {4}, verts[] = {0, 1, 2, 3};
         ri.PointsPolygonsV(1, nverts, verts, 1, tokens, parms);
         ri.Polygon(4, {{RI_P, kSquare}, {"constant float k", kSquare}});
       },
       [] {
         RiSphere(1, -1, 1, 360, "Cs", kColours, RI_NULL);
         RtInt nverts[] = {4}, verts[] = {0, 1, 2, 3};
         RiPointsPolygons(1, nverts, verts, RI_P, kSquare, RI_NULL);
         RiPolygon(4, RI_P, kSquare, "constant float k", kSquare, RI_NULL);
       },
       {}},
      {"the varargs requests",
       [](vellum::Ri &ri) {
         ri.MotionBegin(2, 0.0, 0.5);
         RtFloat times[] = {0, 1};
         ri.MotionBeginV(2, times);
         ri.ArchiveRecord(RI_COMMENT, "frame %d of %s", 3, "many");
       },
       [] {
         RiMotionBegin(2, 0.0, 0.5);
         RtFloat times[] = {0, 1};
         RiMotionBeginV(2, times);
         RiArchiveRecord(RI_COMMENT, tok("frame %d of %s"), 3, "many");
       },
       {}},
      {"handles and declarations",
       [](vellum::Ri &ri) {
         const RtToken name = ri.Declare("rtfoo", "uniform float[2]");
         EXPECT_STREQ(name, "rtfoo");
         RtFloat foo[2] = {1, 2};
         RtLightHandle light = ri.LightSource("spotlight", {{name, foo}});
         ri.Illuminate(light, 0);
         RtObjectHandle object = ri.ObjectBegin();
         ri.ObjectEnd();
         ri.ObjectInstance(object);
         RtLightHandle named = ri.Light("PxrDomeLight", "dome");
         ri.Illuminate(named, 1);
       },
       [] {
         RiDeclare(tok("rtfoo"), tok("uniform float[2]"));
         RtFloat foo[2] = {1, 2};
         RtLightHandle light = RiLightSource(tok("spotlight"), "rtfoo", foo, RI_NULL);
         RiIlluminate(light, 0);
         RtObjectHandle object = RiObjectBegin();
         RiObjectEnd();
         RiObjectInstance(object);
         RtLightHandle named = RiLight(tok("PxrDomeLight"), tok("dome"), RI_NULL);
         RiIlluminate(named, 1);
       },
       {}},
      {"binary, nine digits",
       [](vellum::Ri &ri) {
         ri.Translate(1.0f / 3, 2, 3);
         ri.Polygon(4, {{"P", kSquare}});
       },
       [] {
         RiTranslate(1.0f / 3, 2, 3);
         RiPolygon(4, RI_P, kSquare, RI_NULL);
       },
       {true, 9, false, 1}},
      {"the shortest exact text, compressed",
       [](vellum::Ri &ri) { ri.Translate(1.0f / 3, 0.1f, 3); },
       [] { RiTranslate(1.0f / 3, 0.1f, 3); },
       {false, 0, true, 1}},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(objectBytes(c.object, c.settings), cBytes(c.c, c.settings)) << c.what;
  }
}

// An environment of its own writes every stream the process-wide one does:
// the project's RIB files read into a writer of each.
TEST(CppInterface, AnOwnEnvironmentWritesWhatTheProcessWideOneWrites) {
  for (const auto &[name, rib] : vellum_test::projectRibFiles()) {
    std::string written[2];
    for (int own = 0; own < 2; ++own) {
      vellum::forgetAllDeclarations();
      auto sink = std::make_unique<vellum::MemorySink>();
      vellum::MemorySink &memory = *sink;
      vellum::OwnEnvironment environment("memory");
      environment.setSink([](const std::string &) {});
      {
        vellum::WriterSettings settings;
        settings.precision = 0;
        vellum::RibWriter writer(std::move(sink), "memory", settings,
                                 own ? environment : vellum::processWideEnvironment());
        vellum::RibReader::Options options;
        options.integersAsWritten = true;
        vellum::RibReader reader(writer, nullptr, options);
        std::vector<vellum::RibInput> inputs;
        inputs.push_back({name, std::make_unique<vellum::MemorySource>(rib)});
        reader.read(std::move(inputs));
        writer.close();
        written[own] = memory.bytes();
      }
    }
    EXPECT_GT(written[0].size(), vellum_test::kHeader.size() + 1) << name;
    EXPECT_EQ(written[1], written[0]) << name;
  }
}

TEST(CppInterface, DeclarationsAreTheObjectsOwn) {
  RtFloat two[2] = {1, 2};
  const std::string first = objectBytes([&](vellum::Ri &ri) {
    vellum::Ri other(vellum_test::tempPath("other.rib").c_str());
    ri.Declare("foo", "uniform float[2]");
    other.Declare("foo", "uniform string");
    ri.Surface("s", {{"foo", two}});
    // The standard names are known to every object, as they were.
    ri.Surface("s", {{"Kd", two}});
    other.End();
  });
  EXPECT_EQ(first, vellum_test::kHeader + "Declare \"foo\" \"uniform float[2]\"\nSurface \"s\" \"foo\" [1 2]\n"
                                          "Surface \"s\" \"Kd\" [1]\n\n");
  // Nothing of it reached the process-wide table.
  EXPECT_EQ(vellum::lookupDeclaration("foo"), nullptr);
}

TEST(CppInterface, ErrorsGoThroughTheObjectsHandler) {
  static std::vector<std::string> heard;
  heard.clear();
  RtInt huge[3] = {2147483647, 2147483647, 2147483647};
  RtBound unit = {0, 1, 0, 1, 0, 1};
  const std::string path = vellum_test::tempPath("errors.rib");
  {
    vellum::Ri ri(path.c_str());
    ri.ErrorHandler([](RtInt code, RtInt severity, char *message) {
      heard.push_back(std::to_string(code) + " " + std::to_string(severity) + " " + message);
    });
    ri.Volume("box", unit, huge);
    ri.ErrorHandler(RiErrorIgnore);
    ri.Volume("box", unit, huge);
    EXPECT_EQ(ri.LastError(), RIE_RANGE);
  }
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].substr(0, 6), "42 2 R");  // RIE_RANGE, RIE_ERROR, "RiVolume: ..."
  // A function of the client's has no name a renderer knows: only the
  // standard handler is written, as the C interface writes it.
  EXPECT_EQ(vellum_test::readFile(path), vellum_test::kHeader + "ErrorHandler \"ignore\"\n\n");
  std::remove(path.c_str());
  // RiErrorPrint prints with the object's destination in front, and folds
  // repeats as the C interface does, apart from the process's reports.
  const vellum_test::ChildResult child = vellum_test::runInChild([&] {
    vellum::Ri ri(nullptr);
    ri.Volume("box", unit, huge);
    ri.Volume("box", unit, huge);
    ri.Sphere(1, -1, 1, 360, {{"nosuch", unit}});
  });
  EXPECT_EQ(child.err,
            "standard output: ERROR: Parameter out of range\n    --> RiVolume: dimensions 2147483647 2147483647 "
            "2147483647 give too many values (more than 2147483647 in one storage class); the request is not "
            "written\nstandard output: libvellum error: undeclared parameter \"nosuch\"\n");
  EXPECT_EQ(child.out, vellum_test::kHeader + "Sphere 1 -1 1 360\n\n");
  EXPECT_EQ(RiLastError, RIE_NOERROR);
}

TEST(CppInterface, WhatCannotGoOnIsAnException) {
  EXPECT_THROW(vellum::Ri("/nonexistent/directory/out.rib"), std::system_error);
  EXPECT_THROW(vellum::Ri(nullptr, {false, 10, false, 1}), std::invalid_argument);
  EXPECT_THROW(vellum::Ri(nullptr, {false, 6, true, 10}), std::invalid_argument);
  const std::string path = vellum_test::tempPath("moved.rib");
  vellum::Ri ri(path.c_str());
  ri.WorldBegin();
  vellum::Ri moved(std::move(ri));
  EXPECT_TRUE(ri.ended());  // NOLINT: a moved-from object is ended
  EXPECT_THROW(ri.WorldEnd(), std::logic_error);
  moved.WorldEnd();
  moved.End();
  moved.End();  // once only, then nothing
  EXPECT_THROW(moved.Sphere(1, -1, 1, 360), std::logic_error);
  EXPECT_FALSE(moved.failed());
  EXPECT_EQ(vellum_test::readFile(path), vellum_test::kHeader + "WorldBegin\nWorldEnd\n\n");
  std::remove(path.c_str());
}

}  // namespace
