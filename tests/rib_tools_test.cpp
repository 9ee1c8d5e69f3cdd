#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <string>

#include "preview/image/png_file.h"
#include "tests/test_support.h"

namespace {

const std::string kRib = vellum_test::kHeader +
                         "Format 640 480 1\n"
                         "# a comment\n"
                         "WorldBegin\n"
                         "Sphere 1 -1 1 360 \"Cs\" [1 0 0 0 1 0 0 0 1 1 1 1]\n"
                         "Polygon \"P\" [0 0 0 1 0 0 1 1 0]\n"
                         "WorldEnd\n"
                         "\n";

std::string fileWith(const std::string &content) {
  const std::string path = vellum_test::tempPath("in.rib");
  vellum_test::writeFile(path, content);
  return path;
}

std::string gzipFileWith(const std::string &content) {
  const std::string path = vellum_test::tempPath("in.rib.gz");
  gzFile file = gzopen(path.c_str(), "wb");
  gzwrite(file, content.data(), static_cast<unsigned>(content.size()));
  gzclose(file);
  return path;
}

std::string ribcat(const std::string &arguments) {
  return std::string(VELLUM_RIBCAT) + " " + arguments;
}

TEST(Ribcat, RewritesValidRibUnchanged) {
  const std::string in = fileWith(kRib);
  vellum_test::ChildResult run = vellum_test::runProgram(ribcat(in));
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, kRib);
  // Standard input, and gzip-compressed files.
  EXPECT_EQ(vellum_test::runProgram(ribcat(""), kRib).out, kRib);
  EXPECT_EQ(vellum_test::runProgram(ribcat("-"), kRib).out, kRib);
  EXPECT_EQ(vellum_test::runProgram(ribcat(gzipFileWith(kRib))).out, kRib);
}

TEST(Ribcat, AsciiToBinaryToAsciiReproducesTheBytes) {
  const std::string binaryPath = vellum_test::tempPath("out.rib");
  vellum_test::ChildResult toBinary =
      vellum_test::runProgram(ribcat("-b -o " + binaryPath + " " + fileWith(kRib)));
  EXPECT_EQ(toBinary.exitStatus, 0);
  const std::string binary = vellum_test::readFile(binaryPath);
  EXPECT_NE(binary, kRib);
  EXPECT_NE(binary.find('\xC8'), std::string::npos);  // float arrays became binary
  EXPECT_EQ(vellum_test::runProgram(ribcat(binaryPath)).out, kRib);
}

// Volume's dimensions are written "[2 2 2]"; those of older files,
// "[2 2 2 ]", read the same.  Binary and back gives the bytes again.
TEST(Ribcat, VolumeDimensionsRoundTrip) {
  const std::string written = vellum_test::kHeader +
                              "Volume \"box\" [0 1 0 1 0 1] [2 1 1] \"vertex float density\" [1 2]\n"
                              "Volume \"ellipsoid\" [0 1 0 1 0 1] [1 1 2147483647]\n\n";
  const std::string older = vellum_test::kHeader +
                            "Volume \"box\" [0 1 0 1 0 1] [2 1 1 ] \"vertex float density\" [1 2]\n"
                            "Volume \"ellipsoid\" [0 1 0 1 0 1] [1 1 2147483647 ]\n\n";
  for (const std::string &in : {written, older}) {
    vellum_test::ChildResult run = vellum_test::runProgram(ribcat(fileWith(in)));
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, written);
  }
  const std::string binaryPath = vellum_test::tempPath("volume.rib");
  vellum_test::runProgram(ribcat("-b -o " + binaryPath + " " + fileWith(written)));
  EXPECT_EQ(vellum_test::runProgram(ribcat(binaryPath)).out, written);
  // One point more than a request holds is refused by the reader.
  vellum_test::ChildResult tooMany = vellum_test::runProgram(
      ribcat(fileWith(vellum_test::kHeader + "Volume \"box\" [0 1 0 1 0 1] [2 1 1073741824]\n")));
  EXPECT_EQ(tooMany.exitStatus, 1);
  EXPECT_EQ(tooMany.out, vellum_test::kHeader + "\n");
}

// -z: gzip to a file or to standard output, decompressing to what ribcat
// writes without it, and read back by ribcat and qview.
TEST(Ribcat, CompressedOutputReadsBackToTheSameBytes) {
  const std::string in = fileWith(kRib);
  const std::string path = vellum_test::tempPath("out.rib.gz");
  for (const char *options : {"", "-b", "-p 3"}) {
    for (bool toFile : {true, false}) {
      const std::string output = toFile ? " -o " + path : "";
      const std::string what = std::string(options) + output;
      // --level implies -z.
      const std::string gzip = toFile ? "--level 9 " : "-z ";
      vellum_test::ChildResult run = vellum_test::runProgram(ribcat(gzip + what + " " + in));
      EXPECT_EQ(run.exitStatus, 0) << what;
      EXPECT_EQ(run.err, "") << what;
      const std::string compressed = toFile ? vellum_test::readFile(path) : run.out;
      if (!toFile) vellum_test::writeFile(path, compressed);
      const std::string plain = vellum_test::runProgram(ribcat(std::string(options) + " " + in)).out;
      EXPECT_EQ(vellum_test::gunzip(compressed), plain) << what;
      EXPECT_EQ(vellum_test::runProgram(ribcat(path)).out,
                vellum_test::runProgram(ribcat(fileWith(plain))).out)
          << what;
      vellum_test::ChildResult check = vellum_test::runProgram(std::string(VELLUM_QVIEW) + " " + path);
      EXPECT_EQ(check.exitStatus, 0) << what;
      EXPECT_EQ(check.err, "qview: 6 requests, 1 world, 2 primitives, 0 errors\n") << what;
    }
  }
}

TEST(Ribcat, OutputNamedLikeARendererIsAFile) {
  const std::string dir = vellum_test::tempPath("cwd");
  vellum_test::ChildResult run = vellum_test::runProgram(
      "mkdir '" + dir + "' && cd '" + dir + "' && " + ribcat("-o qview " + fileWith(kRib)));
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(vellum_test::readFile(dir + "/qview"), kRib);
}

TEST(Ribcat, ErrorsAndUsage) {
  const std::string bad = fileWith("WorldBegin\nSphere 1 2\nWorldEnd\n");
  const std::string good = fileWith("WorldBegin\nWorldEnd\n");
  std::string many;
  for (int i = 0; i < 256; ++i) many += "Sphere 1\n";
  const std::string manyErrors = fileWith(many);
  const std::string twoErrors = fileWith("Sphere 1\nSphere 2\n");
  struct Case {
    std::string arguments;
    int exitStatus;
    std::string out;
    std::string errPrefix;
  } cases[] = {
      {bad, 1, vellum_test::kHeader + "WorldBegin\nWorldEnd\n\n",
       bad + ":2: Sphere: expected a number as operand 3\n"},
      // Errors in one file are not forgotten when a good one follows, and
      // the exit status is never the number of errors.
      {bad + " " + good, 1, vellum_test::kHeader + "WorldBegin\nWorldEnd\nWorldBegin\nWorldEnd\n\n",
       bad + ":2: Sphere: expected a number as operand 3\n"},
      {manyErrors, 1, vellum_test::kHeader + "\n", manyErrors + ":1: Sphere:"},
      {twoErrors, 1, vellum_test::kHeader + "\n", twoErrors + ":1: Sphere:"},
      // Nothing is written when an input cannot be opened.
      {"/no/such/file.rib", 1, "", "/no/such/file.rib: No such file or directory\n"},
      {good + " /no/such/file.rib", 1, "", "/no/such/file.rib: No such file or directory\n"},
      {"/no/such/file.rib " + good, 1, "", "/no/such/file.rib: No such file or directory\n"},
      {"-x", 2, "", "ribcat: unknown option -x\nusage: ribcat"},
      {"-o", 2, "", "ribcat: -o needs a file name\nusage: ribcat"},
      {"-p 10 " + good, 2, "", "ribcat: -p needs a number of digits from 0 to 9\nusage: ribcat"},
      {"--level 0 " + good, 2, "", "ribcat: --level needs a level from 1 to 9\nusage: ribcat"},
      {"--level 10 " + good, 2, "", "ribcat: --level needs a level from 1 to 9\nusage: ribcat"},
      {"--level", 2, "", "ribcat: --level needs a level from 1 to 9\nusage: ribcat"},
      {"--version", 0, "ribcat (vellum 0.1.0)\n", ""},
  };
  for (const Case &c : cases) {
    vellum_test::ChildResult run = vellum_test::runProgram(ribcat(c.arguments));
    EXPECT_EQ(run.exitStatus, c.exitStatus) << c.arguments;
    EXPECT_EQ(run.out, c.out) << c.arguments;
    EXPECT_EQ(run.err.substr(0, c.errPrefix.size()), c.errPrefix) << c.arguments;
  }
  vellum_test::ChildResult help = vellum_test::runProgram(ribcat("--help"));
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.out.find("Exit status: 0 when the input was valid"), std::string::npos);
}

// Several files are one stream: what one declares, the next may use, and
// the basis steps of one count the curves of the next.  What ribcat writes
// reads back without an error, warnings and all.
TEST(Ribcat, FilesAreOneStreamAndTheOutputReadsBack) {
  const std::string first = fileWith(
      "Declare \"rtwidth\" \"varying float\"\nBasis \"b-spline\" 1 \"b-spline\" 1\n"
      "LightSource \"spotlight\" \"key\" \"shadowname\" \"raytrace\"\n");
  const std::string second = fileWith(
      "Curves \"cubic\" [5] \"nonperiodic\" \"P\" [0 0 0 1 1 1 2 2 2 3 3 3 4 4 4] "
      "\"rtwidth\" [1 2 3]\nIlluminate \"key\" 0\nIlluminate 9 1\nPixelSampleImager \"main\" \"float fov\" 40\n"
      "LightSource \"bad\" 2 \"intensity\" \"x\"\nIlluminate 2 1\n");
  vellum_test::ChildResult run = vellum_test::runProgram(ribcat(first + " " + second));
  EXPECT_EQ(run.exitStatus, 1);  // the bad light
  EXPECT_EQ(run.out,
            vellum_test::kHeader +
                "Declare \"rtwidth\" \"varying float\"\n"
                "Basis \"b-spline\" 1 \"b-spline\" 1\n"
                "LightSource \"spotlight\" 1 \"shadowname\" [\"raytrace\"]\n"
                "Curves \"cubic\"[5 ] \"nonperiodic\"  \"P\" [0 0 0 1 1 1 2 2 2 3 3 3 4 4 4] "
                "\"rtwidth\" [1 2 3]\n"
                "Illuminate 1 0\n"
                "Illuminate 9 1\n"
                "PixelSampleImager \"main\" \"float fov\" [40]\n\n");
  vellum_test::ChildResult again = vellum_test::runProgram(ribcat("-"), run.out);
  EXPECT_EQ(again.exitStatus, 0) << again.err;
  EXPECT_EQ(again.out, run.out);
  // Strict: the warnings are errors, and their requests are left out.
  vellum_test::ChildResult strict = vellum_test::runProgram(ribcat("--strict -"), run.out);
  EXPECT_EQ(strict.exitStatus, 1);
  EXPECT_EQ(strict.out.find("PixelSampleImager"), std::string::npos);
}

// By default no number changes on a pass through ribcat; -p chooses the
// digits, and -p 6 writes the library's own bytes.
TEST(Ribcat, PrecisionOfTheNumbersWritten) {
  const std::string in = fileWith("Translate 0.1234567 -0.0 3e-12\nColor [0.1234567 0.25 1e+20]\n");
  struct Case {
    const char *option;
    std::string requests;
  } cases[] = {
      {"", "Translate 0.1234567 -0 3e-12 \nColor [0.1234567 0.25 1e+20]\n"},
      {"-p 0", "Translate 0.1234567 -0 3e-12 \nColor [0.1234567 0.25 1e+20]\n"},
      {"-p 6", "Translate 0.123457 -0 3e-12 \nColor [0.123457 0.25 1e+20]\n"},
      {"-p 2", "Translate 0.12 -0 3e-12 \nColor [0.12 0.25 1e+20]\n"},
      {"-p 3", "Translate 0.123 -0 3e-12 \nColor [0.123 0.25 1e+20]\n"},
      {"-p 4", "Translate 0.1235 -0 3e-12 \nColor [0.1235 0.25 1e+20]\n"},
      {"-p 5", "Translate 0.12346 -0 3e-12 \nColor [0.12346 0.25 1e+20]\n"},
      {"-p 7", "Translate 0.1234567 -0 3e-12 \nColor [0.1234567 0.25 1e+20]\n"},
      {"-p 9", "Translate 0.123456702 -0 2.99999999e-12 \nColor [0.123456702 0.25 1.00000002e+20]\n"},
  };
  for (const Case &c : cases) {
    vellum_test::ChildResult run = vellum_test::runProgram(ribcat(std::string(c.option) + " " + in));
    EXPECT_EQ(run.exitStatus, 0) << c.option;
    EXPECT_EQ(run.out, vellum_test::kHeader + c.requests + "\n") << c.option;
  }
}

// Numbers of parameters the stream never declared are floats, and ribcat
// writes them back as they were read: digits written as integers stay so
// (a float would be "1e+05" or 16777216), and so do they through binary.
TEST(Ribcat, UndeclaredNumbersAreWrittenBackAsRead) {
  const std::string light =
      "LightSource \"spot\" 1 \"roundness\" [0] \"seed\" [100000 ] \"big\" [16777217 ] "
      "\"roundness\" [0.5] \"f\" [1.5] \"z\" [-0]\n";
  const std::string in = fileWith("LightSource \"spot\" 1 \"roundness\" 0 \"seed\" [100000] \"big\" "
                                  "16777217 \"roundness\" .5 \"f\" [1.50] \"z\" -0\n");
  vellum_test::ChildResult run = vellum_test::runProgram(ribcat(in));
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out, vellum_test::kHeader + light + "\n");
  const std::string binary = vellum_test::tempPath("undeclared.rib");
  vellum_test::runProgram(ribcat("-b -o " + binary + " " + in));
  EXPECT_EQ(vellum_test::runProgram(ribcat(binary)).out, run.out);
}

// Output that could not be written makes the exit status 1, with one
// message: the library's for the RIB stream, the tool's for what it wrote
// to standard output through stdio itself.
TEST(RibTools, LostOutputIsAnError) {
  const std::string small = fileWith(kRib);
  std::string many = "WorldBegin\n";
  const int spheres = 20000;  // more than any buffer holds, RIB and listing alike
  for (int i = 0; i < spheres; ++i) many += "Sphere 1 -1 1 360\n";
  const std::string big = fileWith(many + "WorldEnd\n");
  const std::string qview = std::string(VELLUM_QVIEW);
  const std::string full = "No space left on device\n";
  struct Case {
    std::string command;
    std::string err;
  } cases[] = {
      {ribcat(small) + " > /dev/full", "libvellum error: writing RIB to standard output failed: " + full},
      {ribcat(big) + " > /dev/full", "libvellum error: writing RIB to standard output failed: " + full},
      {ribcat("-o /dev/full " + small), "libvellum error: writing RIB to /dev/full failed: " + full},
      {ribcat("-b -o /dev/full " + big), "libvellum error: writing RIB to /dev/full failed: " + full},
      {ribcat("-z " + small) + " > /dev/full",
       "libvellum error: writing RIB to standard output failed: " + full},
      {ribcat("-z -o /dev/full " + big), "libvellum error: writing RIB to /dev/full failed: " + full},
      {ribcat("--version") + " > /dev/full", "ribcat: writing standard output failed: " + full},
      {qview + " -v " + small + " > /dev/full",
       "qview: writing standard output failed: " + full +
           "qview: 6 requests, 1 world, 2 primitives, 1 error\n"},
      {qview + " -v " + big + " > /dev/full",
       "qview: writing standard output failed: " + full + "qview: " + std::to_string(spheres + 2) +
           " requests, 1 world, " + std::to_string(spheres) + " primitives, 1 error\n"},
      {qview + " --help > /dev/full", "qview: writing standard output failed: " + full},
  };
  for (const Case &c : cases) {
    vellum_test::ChildResult run = vellum_test::runProgram(c.command);
    EXPECT_EQ(run.exitStatus, 1) << c.command;
    EXPECT_EQ(run.err, c.err) << c.command;
  }
}

TEST(Qview, SummarisesAndChecks) {
  const std::string declares = fileWith("Declare \"rtq\" \"uniform float\"\nSphere 1 -1 1 360 \"rtq\" 1\n");
  const std::string uses = fileWith("Sphere 1 -1 1 360 \"rtq\" 1\n");
  struct Case {
    std::string arguments;
    std::string input;
    int exitStatus;
    std::string out;
    std::string err;
  } cases[] = {
      {"", kRib, 0, "", "qview: 6 requests, 1 world, 2 primitives, 0 errors\n"},
      {fileWith(kRib) + " " + gzipFileWith(kRib), "", 0, "",
       "qview: 12 requests, 2 worlds, 4 primitives, 0 errors\n"},
      {"-v", "WorldBegin\nSphere 1 -1 1 360\nWorldEnd\n", 0,
       "<stdin>:1: WorldBegin\n<stdin>:2: Sphere\n<stdin>:3: WorldEnd\n",
       "qview: 3 requests, 1 world, 1 primitive, 0 errors\n"},
      {"", "Sphere 1\n", 1, "",
       "<stdin>:1: Sphere: expected a number as operand 2\n"
       "qview: 0 requests, 0 worlds, 0 primitives, 1 error\n"},
      // The exit status says whether there were errors, not how many.
      {"", "Sphere 1\nSphere 2\n", 1, "",
       "<stdin>:1: Sphere: expected a number as operand 2\n"
       "<stdin>:2: Sphere: expected a number as operand 2\n"
       "qview: 0 requests, 0 worlds, 0 primitives, 2 errors\n"},
      // Each file on its own: what one declares, another may not use.
      {declares + " " + uses, "", 1, "",
       uses + ":1: Sphere: undeclared parameter \"rtq\"\n"
              "qview: 2 requests, 0 worlds, 1 primitive, 1 error\n"},
      {"", "PixelSampleImager \"c\"\nPixelSampleImager \"d\"\n", 0, "",
       "<stdin>:1: warning: PixelSampleImager: PixelSampleImager is not a request of this library; it is passed on as "
       "read\nqview: 2 requests, 0 worlds, 0 primitives, 0 errors, 2 warnings\n"},
      {"--strict", "PixelSampleImager \"c\"\n", 1, "",
       "<stdin>:1: PixelSampleImager: PixelSampleImager is not a request of this library; it is passed on as read\n"
       "qview: 0 requests, 0 worlds, 0 primitives, 1 error\n"},
      // Archives are read whether a picture is drawn or not: one verdict.
      // One that is not there is a warning, one that cannot be read an error.
      {"", "Procedural \"DelayedReadArchive\" [\"/no/such.rib\"] [0 1 0 1 0 1]\n", 0, "",
       "<stdin>:1: warning: Procedural: \"/no/such.rib\" cannot be opened because it does not exist\n"
       "qview: 1 requests, 0 worlds, 1 primitive, 0 errors, 1 warning\n"},
      {"-o /dev/null", "Procedural \"DelayedReadArchive\" [\"/no/such.rib\"] [0 1 0 1 0 1]\n", 0, "",
       "<stdin>:1: warning: Procedural: \"/no/such.rib\" cannot be opened because it does not exist\n"
       "qview: 1 requests, 0 worlds, 1 primitive, 0 errors, 1 warning\n"},
      {"--strict", "ReadArchive \"/no/such.rib\"\n", 1, "",
       "<stdin>:1: ReadArchive: \"/no/such.rib\" cannot be opened because it does not exist\n"
       "qview: 1 requests, 0 worlds, 0 primitives, 1 error\n"},
      {"", "ReadArchive \"/\"\nReadArchive \"/dev/null/a.rib\"\n", 1, "",
       "<stdin>:1: ReadArchive: \"/\": not a regular file\n"
       "<stdin>:2: ReadArchive: \"/dev/null/a.rib\": Not a directory\n"
       "qview: 2 requests, 0 worlds, 0 primitives, 2 errors\n"},
      {"/no/such.rib", "", 1, "",
       "/no/such.rib: No such file or directory\nqview: 0 requests, 0 worlds, 0 primitives, 1 error\n"},
      {"-q", "", 2, "", "qview: unknown option -q\nusage: qview"},
      {"-o", "", 2, "", "qview: -o needs a file name\nusage: qview"},
      {"--version", "", 0, "qview (vellum 0.1.0)\n", ""},
  };
  for (const Case &c : cases) {
    vellum_test::ChildResult run =
        vellum_test::runProgram(std::string(VELLUM_QVIEW) + " " + c.arguments, c.input);
    EXPECT_EQ(run.exitStatus, c.exitStatus) << c.arguments;
    EXPECT_EQ(run.out, c.out) << c.arguments;
    EXPECT_EQ(run.err.substr(0, c.err.size()), c.err) << c.arguments;
  }
  vellum_test::ChildResult help = vellum_test::runProgram(std::string(VELLUM_QVIEW) + " --help");
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_EQ(help.out.rfind("usage: qview", 0), 0u);
}

}  // namespace

// qview looks for archives along the stream's search path, and replaces
// variables when the stream asks for it; ribcat follows no archive and
// writes the text as it was read.
TEST(RibTools, ArchiveSearchPathAndVariables) {
  const std::string dir = vellum_test::tempPath("search");
  vellum_test::runProgram("mkdir -p '" + dir + "/lib'");
  vellum_test::writeFile(dir + "/lib/a.rib", "Sphere 1\n");
  const std::string found = "lib/a.rib:1: Sphere: expected a number as operand 2\n";
  const std::string on = "Option \"ribparse\" \"string varsubst\" [\"$\"]\n";
  struct Case {
    std::string rib;
    std::string qviewErr;
  } cases[] = {
      {"Option \"searchpath\" \"archive\" [\"lib:@\"]\nReadArchive \"a.rib\"\n",
       found + "qview: 2 requests, 0 worlds, 0 primitives, 1 error\n"},
      {on + "Option \"searchpath\" \"archive\" [\"$LIBDIR:@\"]\nReadArchive \"a.rib\"\n",
       found + "qview: 3 requests, 0 worlds, 0 primitives, 1 error\n"},
      {on + "Option \"user\" \"string name\" [\"a\"]\nReadArchive \"lib/${name}.rib\"\n",
       found + "qview: 3 requests, 0 worlds, 0 primitives, 1 error\n"},
  };
  for (const Case &c : cases) {
    const std::string in = "cd '" + dir + "' && LIBDIR=lib ";
    vellum_test::ChildResult qview = vellum_test::runProgram(in + VELLUM_QVIEW + " -", c.rib);
    EXPECT_EQ(qview.exitStatus, 1) << c.rib;
    EXPECT_EQ(qview.err, c.qviewErr) << c.rib;
    vellum_test::ChildResult rewritten = vellum_test::runProgram(in + ribcat("-"), c.rib);
    EXPECT_EQ(rewritten.exitStatus, 0) << c.rib;
    EXPECT_EQ(rewritten.out, vellum_test::kHeader + c.rib + "\n") << c.rib;
  }
  vellum_test::runProgram("rm -rf '" + dir + "'");
}

// qview draws a picture when one is asked for: by -o, by QVIEW_OUTPUT (so
// a program piping into qview gets one), or by a PNG Display; otherwise it
// only checks.
TEST(Qview, DrawsAPictureWhenOneIsAskedFor) {
  const std::string dir = vellum_test::tempPath("pictures");
  vellum_test::runProgram("mkdir '" + dir + "'");
  const std::string scene = fileWith(
      "Format 64 48 1\nProjection \"orthographic\"\nWorldBegin\n"
      "AttributeBegin\nSurface \"wood\"\nAttributeEnd\nSurface \"constant\"\n"
      "Color [1 0 0]\nPolygon \"P\" [-0.5 -0.5 1 0.5 -0.5 1 0.5 0.5 1 -0.5 0.5 1]\nWorldEnd\n");
  const std::string qview = std::string(VELLUM_QVIEW);
  struct Case {
    const char *what;
    std::string command;
    std::string picture;  // empty: none is written
    std::string shown;    // as qview names it
  } cases[] = {
      {"-o", qview + " -o '" + dir + "/o.png' " + scene, dir + "/o.png", dir + "/o.png"},
      {"QVIEW_OUTPUT", "QVIEW_OUTPUT='" + dir + "/env.png' " + qview + " " + scene,
       dir + "/env.png", dir + "/env.png"},
      {"a PNG Display", "cd '" + dir + "' && " + qview + " --display -", dir + "/display.png",
       "display.png"},
      {"a PNG Display unasked", "cd '" + dir + "' && " + qview + " -", "", ""},
      {"nothing asked", "cd '" + dir + "' && " + qview + " " + scene, "", ""},
  };
  for (const Case &c : cases) {
    const std::string input = std::string(c.what).rfind("a PNG Display", 0) == 0
                                  ? "Display \"display.png\" \"file\" \"rgba\"\n" + vellum_test::readFile(scene)
                                  : "";
    vellum_test::ChildResult run = vellum_test::runProgram(c.command, input);
    EXPECT_EQ(run.exitStatus, 0) << c.what << run.err;
    // What the preview cannot draw exactly is said only when it draws.
    const bool warned = run.err.find("surface \"wood\" drawn as matte") != std::string::npos;
    EXPECT_EQ(warned, !c.picture.empty()) << c.what << run.err;
    if (c.picture.empty()) {
      EXPECT_EQ(run.err.find("picture written"), std::string::npos) << c.what;
      EXPECT_EQ(vellum_test::runProgram("ls -A '" + dir + "'").out, "") << c.what;
      continue;
    }
    EXPECT_NE(run.err.find("qview: picture written to " + c.shown + "\n"), std::string::npos) << c.what;
    vellum::preview::Image image;
    ASSERT_EQ(vellum::preview::readPng(c.picture, image), "") << c.what;
    ASSERT_EQ(image.width, 64) << c.what;
    ASSERT_EQ(image.height, 48) << c.what;
    // The square fills the middle in red; the corner is empty.
    const size_t middle = 4 * (24 * 64 + 32), corner = 0;
    EXPECT_EQ(image.rgba[middle], 255) << c.what;
    EXPECT_EQ(image.rgba[middle + 1], 0) << c.what;
    EXPECT_EQ(image.rgba[middle + 3], 255) << c.what;
    EXPECT_EQ(image.rgba[corner + 3], 0) << c.what;
    std::remove(c.picture.c_str());
  }
  // A picture that cannot be written is an error.
  vellum_test::ChildResult bad =
      vellum_test::runProgram(qview + " -o /no/such/dir/x.png " + scene);
  EXPECT_EQ(bad.exitStatus, 1);
  EXPECT_NE(bad.err.find("/no/such/dir/x.png"), std::string::npos);
  vellum_test::runProgram("rm -rf '" + dir + "'");
}

// qview writes and removes only what its user named: a picture replaces a
// regular file only once written whole, goes through a link or a device,
// and a failed write removes nothing qview did not make.  Each case runs
// in a directory of its own, which `listing` shows afterwards ("name:bytes"
// or "name->target" per entry).
TEST(Qview, WritesOnlyWhatItsUserNamed) {
  const std::string qview = std::string(VELLUM_QVIEW);
  const std::string scene =
      "Format 256 256 1\nDisplay \"../../stray.png\" \"file\" \"rgba\"\nWorldBegin\n"
      "Translate 0 0 3\nSphere 1 -1 1 360\nWorldEnd\n";
  const std::string list =
      " ; for f in $(ls -A); do if [ -L \"$f\" ]; then printf '%s->%s\\n' \"$f\" \"$(readlink \"$f\")\"; "
      "else printf '%s:%s\\n' \"$f\" \"$(wc -c < \"$f\")\"; fi; done";
  // The file size limit makes a write fail part-way through (SIGXFSZ
  // ignored, so the write reports EFBIG).
  const std::string smallFiles = "trap '' XFSZ; ulimit -f 1; ";
  struct Case {
    const char *what;
    std::string setup, arguments;
    int exitStatus;
    std::string errPart, listing;
  } cases[] = {
      {"a new file", "", "-o p.png", 0, "picture written to p.png", "p.png:"},
      {"a Display name, not asked", "", "", 0, "qview: 6 requests", ""},
      {"a link to a device that fails", "ln -s /dev/full p.png; ", "-o p.png", 1,
       "cannot write p.png: No space left on device", "p.png->/dev/full\n"},
      {"a link to a regular file", "echo old > t.png; ln -s t.png p.png; ", "-o p.png", 0,
       "picture written to p.png", "p.png->t.png\nt.png:"},
      {"a new file cut short", smallFiles, "-o p.png", 1, "cannot write p.png: File too large", ""},
      {"an old file kept when the new one is cut short", "echo old > p.png; " + smallFiles,
       "-o p.png", 1, "cannot write p.png: File too large", "p.png:4\n"},
  };
  for (const Case &c : cases) {
    const std::string dir = vellum_test::tempPath("named");
    vellum_test::ChildResult run = vellum_test::runProgram(
        "mkdir -p '" + dir + "/in' && cd '" + dir + "/in' && " + c.setup + qview + " " + c.arguments +
            " -",
        scene);
    EXPECT_EQ(run.exitStatus, c.exitStatus) << c.what << run.err;
    EXPECT_NE(run.err.find(c.errPart), std::string::npos) << c.what << run.err;
    const std::string listing = vellum_test::runProgram("cd '" + dir + "/in'" + list).out;
    // A size that depends on the picture is left out of the comparison.
    EXPECT_EQ(listing.substr(0, c.listing.size()), c.listing) << c.what;
    EXPECT_EQ(listing.size() > c.listing.size(), c.listing.back() == ':') << c.what << listing;
    EXPECT_EQ(vellum_test::runProgram("ls '" + dir + "'").out, "in\n") << c.what;
    vellum_test::runProgram("rm -rf '" + dir + "'");
  }
}

// Which picture goes to the file: -o's name before QVIEW_OUTPUT's, and of
// several files without %d, the first picture (here a red square), not a
// later one (green).
TEST(Qview, FirstPictureGoesToTheNamedFile) {
  const std::string dir = vellum_test::tempPath("first");
  vellum_test::runProgram("mkdir '" + dir + "'");
  const std::string square = "Format 8 8 1\nWorldBegin\nSurface \"constant\"\nColor [COLOR]\n"
                             "Polygon \"P\" [-1 -1 1 1 -1 1 1 1 1 -1 1 1]\nWorldEnd\n";
  const std::string red = fileWith(square.substr(0, square.find("COLOR")) + "1 0 0" +
                                   square.substr(square.find("COLOR") + 5));
  vellum_test::runProgram("cp '" + red + "' '" + dir + "/red.rib'");
  const std::string green = fileWith(square.substr(0, square.find("COLOR")) + "0 1 0" +
                                     square.substr(square.find("COLOR") + 5));
  const std::string qview = std::string(VELLUM_QVIEW);
  vellum_test::ChildResult run = vellum_test::runProgram(
      "cd '" + dir + "' && QVIEW_OUTPUT=env.png " + qview + " -o o.png red.rib " + green);
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(vellum_test::runProgram("ls '" + dir + "'").out, "o.png\nred.rib\n");
  vellum::preview::Image image;
  ASSERT_EQ(vellum::preview::readPng(dir + "/o.png", image), "");
  EXPECT_EQ(image.pixel(4, 4)[0], 255);
  EXPECT_EQ(image.pixel(4, 4)[1], 0);
  vellum_test::runProgram("rm -rf '" + dir + "'");
}

// qview draws what a renderer would: an inline archive where it is read,
// and of an IfBegin block the branch whose expression holds (here the
// red square of a false branch is not drawn, the archive's sphere is).
TEST(Qview, DrawsInlineArchivesAndTheTrueBranch) {
  const std::string picture = vellum_test::tempPath("branch.png");
  const std::string rib =
      "Format 16 16 1\nProjection \"orthographic\"\nOption \"user\" \"string pass\" [\"beauty\"]\n"
      "ArchiveBegin \"ball\"\nSurface \"constant\"\nColor [0 0 1]\nSphere 0.5 -0.5 0.5 360\nArchiveEnd\n"
      "WorldBegin\nTranslate 0 0 2\n"
      "IfBegin \"$pass == 'shadow'\"\nSurface \"constant\"\nColor [1 0 0]\n"
      "Polygon \"P\" [-1 -1 0 1 -1 0 1 1 0 -1 1 0]\nElse\nReadArchive \"ball\"\nIfEnd\nWorldEnd\n";
  vellum_test::ChildResult run =
      vellum_test::runProgram(std::string(VELLUM_QVIEW) + " --strict -o '" + picture + "' -", rib);
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  vellum::preview::Image image;
  ASSERT_EQ(vellum::preview::readPng(picture, image), "");
  EXPECT_EQ(image.pixel(8, 8)[2], 255);  // the sphere, in blue
  EXPECT_EQ(image.pixel(8, 8)[0], 0);
  EXPECT_EQ(image.pixel(0, 0)[3], 0);    // no red square behind it
  std::remove(picture.c_str());
}
