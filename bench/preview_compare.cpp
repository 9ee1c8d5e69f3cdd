// preview_compare: how close the preview comes to reference pictures.
// Each scene (a RIB file) is drawn by the preview at the size of its
// reference picture, and compared with it: the coverage IoU (pixels
// covered in both over pixels covered in either, covered meaning alpha
// above one half) and the mean absolute colour difference, in levels of
// 0-255 over the three channels, of the pixels covered in both.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "preview/image/png_file.h"
#include "preview/preview_context.h"
#include "tools/rib_input.h"

namespace {

using vellum::preview::Image;
using vellum::preview::PreviewContext;

const char kUsage[] =
    "usage: preview_compare [--update] [--min-iou X] [--max-colour Y] [-f LIST] [SCENE.rib REFERENCE.png]...\n"
    "\n"
    "Draws each scene with the preview at the size of its reference picture and\n"
    "prints, for each, the coverage IoU (covered in both / covered in either,\n"
    "alpha above one half) and the mean absolute colour difference (0-255) over\n"
    "the pixels covered in both.  The first picture of a scene is compared; a\n"
    "scene ending in .png is a picture drawn elsewhere (another build of qview,\n"
    "a renderer), compared as it is.\n"
    "\n"
    "  -f LIST         read pairs from LIST, one \"SCENE REFERENCE\" a line, paths\n"
    "                  relative to LIST's directory; # starts a comment\n"
    "  --min-iou X     fail (exit 1) when a scene's IoU is below X\n"
    "  --max-colour Y  fail when a scene's colour difference is above Y\n"
    "  --update        write each drawn picture over its reference (at the\n"
    "                  scene's own Format when there is no reference yet)\n";

// A preview drawn at a size of our choosing, whatever Format says, which
// keeps its first picture.
class SizedPreview : public PreviewContext {
 public:
  SizedPreview(int width, int height) : width_(width), height_(height) {
    if (width_ > 0) PreviewContext::Format(width_, height_, 1);
  }
  RtVoid Format(RtInt xres, RtInt yres, RtFloat aspect) override {
    if (width_ > 0) PreviewContext::Format(width_, height_, aspect);
    else PreviewContext::Format(xres, yres, aspect);
  }
  RtVoid WorldEnd() override {
    PreviewContext::WorldEnd();
    if (first_.width == 0 && picturesFinished() > 0) first_ = lastPicture();
  }
  const Image &firstPicture() const { return first_; }

 private:
  int width_, height_;
  Image first_;
};

struct Pair {
  std::string scene, reference;
};

bool covered(const uint8_t *pixel) { return pixel[3] > 127; }

struct Comparison {
  long drawn = 0, reference = 0, both = 0;
  double colour = 0;  // summed over the pixels covered in both
  double iou() const {
    const long either = drawn + reference - both;
    return either == 0 ? 1 : double(both) / double(either);
  }
  double meanColour() const { return both == 0 ? 0 : colour / double(both); }
};

Comparison compare(const Image &drawn, const Image &reference) {
  Comparison c;
  for (int y = 0; y < drawn.height; ++y)
    for (int x = 0; x < drawn.width; ++x) {
      const uint8_t *a = drawn.pixel(x, y), *b = reference.pixel(x, y);
      c.drawn += covered(a);
      c.reference += covered(b);
      if (!covered(a) || !covered(b)) continue;
      ++c.both;
      c.colour += (std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2])) / 3.0;
    }
  return c;
}

// Draws a scene at width × height (its own Format when width is 0); false,
// after saying why, when it gives no picture.
bool draw(const std::string &scene, int width, int height, Image &picture) {
  vellum::RibInput input;
  if (!vellum::openRibInput(scene, &input)) return false;
  SizedPreview preview(width, height);
  preview.setWarningHandler([&](const std::string &message) {
    std::fprintf(stderr, "preview_compare: %s: %s\n", scene.c_str(), message.c_str());
  });
  vellum::DirectoryArchives archives;
  vellum::RibReader::Options options;
  options.archives = &archives;
  options.substituteVariables = true;
  options.actOnConditions = true;
  vellum::RibReader reader(preview, vellum::printDiagnostic, options);
  std::vector<vellum::RibInput> inputs;
  inputs.push_back(std::move(input));
  reader.read(std::move(inputs));
  picture = preview.firstPicture();
  if (picture.width > 0) return true;
  std::fprintf(stderr, "preview_compare: %s: no picture (no WorldEnd)\n", scene.c_str());
  return false;
}

bool readList(const std::string &list, std::vector<Pair> &pairs) {
  std::ifstream in(list);
  if (!in) {
    std::fprintf(stderr, "preview_compare: %s: cannot be read\n", list.c_str());
    return false;
  }
  const size_t slash = list.rfind('/');
  const std::string directory = slash == std::string::npos ? "" : list.substr(0, slash + 1);
  auto place = [&](const std::string &path) { return path[0] == '/' ? path : directory + path; };
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    line = line.substr(0, line.find('#'));
    std::istringstream fields(line);
    std::string scene, reference, extra;
    if (!(fields >> scene)) continue;
    if (!(fields >> reference) || (fields >> extra)) {
      std::fprintf(stderr, "preview_compare: %s:%d: expected \"SCENE REFERENCE\"\n", list.c_str(), number);
      return false;
    }
    pairs.push_back({place(scene), place(reference)});
  }
  return true;
}

}  // namespace

int main(int argc, char **argv) {
  std::vector<Pair> pairs;
  std::vector<std::string> loose;
  bool update = false;
  double minIou = -1, maxColour = -1;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool valued = arg == "-f" || arg == "--min-iou" || arg == "--max-colour";
    if (valued && i + 1 == argc) {
      std::fprintf(stderr, "preview_compare: %s needs a value\n%s", arg.c_str(), kUsage);
      return 2;
    }
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--update") {
      update = true;
    } else if (arg == "-f") {
      if (!readList(argv[++i], pairs)) return 2;
    } else if (arg == "--min-iou") {
      minIou = std::atof(argv[++i]);
    } else if (arg == "--max-colour") {
      maxColour = std::atof(argv[++i]);
    } else if (arg.size() > 1 && arg[0] == '-') {
      std::fprintf(stderr, "preview_compare: unknown option %s\n%s", arg.c_str(), kUsage);
      return 2;
    } else {
      loose.push_back(arg);
    }
  }
  if (loose.size() % 2 != 0 || (pairs.empty() && loose.empty())) {
    std::fprintf(stderr, "preview_compare: give scenes and references in pairs\n%s", kUsage);
    return 2;
  }
  for (size_t i = 0; i < loose.size(); i += 2) pairs.push_back({loose[i], loose[i + 1]});

  int failed = 0;
  double iouSum = 0, colourSum = 0;
  int compared = 0;
  int width = 5;
  for (const Pair &pair : pairs) width = std::max(width, int(pair.scene.size()));
  std::printf("%-*s %9s %7s %7s %8s %8s %8s\n", width, "scene", "size", "IoU", "colour", "drawn", "refer.", "both");
  for (const Pair &pair : pairs) {
    Image reference, drawn;
    const std::string readError = vellum::preview::readPng(pair.reference, reference);
    if (!readError.empty() && !update) {
      std::fprintf(stderr, "preview_compare: %s\n", readError.c_str());
      ++failed;
      continue;
    }
    const bool given = pair.scene.size() > 4 && pair.scene.compare(pair.scene.size() - 4, 4, ".png") == 0;
    if (given) {
      const std::string error = vellum::preview::readPng(pair.scene, drawn);
      if (!error.empty() || drawn.width != reference.width || drawn.height != reference.height) {
        std::fprintf(stderr, "preview_compare: %s\n",
                     !error.empty() ? error.c_str() : (pair.scene + ": not the size of its reference").c_str());
        ++failed;
        continue;
      }
    } else if (!draw(pair.scene, reference.width, reference.height, drawn)) {
      ++failed;
      continue;
    }
    if (update && !given) {
      const std::string writeError = vellum::preview::writePng(pair.reference, drawn);
      if (!writeError.empty()) {
        std::fprintf(stderr, "preview_compare: %s\n", writeError.c_str());
        ++failed;
        continue;
      }
      reference = drawn;
    }
    const Comparison c = compare(drawn, reference);
    const std::string size = std::to_string(drawn.width) + "x" + std::to_string(drawn.height);
    const bool short_ = (minIou >= 0 && c.iou() < minIou) || (maxColour >= 0 && c.meanColour() > maxColour);
    std::printf("%-*s %9s %7.4f %7.2f %8ld %8ld %8ld%s\n", width, pair.scene.c_str(), size.c_str(), c.iou(),
                c.meanColour(), c.drawn, c.reference, c.both, short_ ? "  FAIL" : "");
    ++compared;
    iouSum += c.iou();
    colourSum += c.meanColour();
    failed += short_;
  }
  if (compared > 0)
    std::printf("%d scene%s: mean IoU %.4f, mean colour difference %.2f\n", compared, compared == 1 ? "" : "s",
                iouSum / compared, colourSum / compared);
  if (failed > 0) std::fprintf(stderr, "preview_compare: %d scene%s failed\n", failed, failed == 1 ? "" : "s");
  std::fflush(stdout);
  return failed == 0 ? 0 : 1;
}
