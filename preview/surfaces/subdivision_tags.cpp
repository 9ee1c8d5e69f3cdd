// The tags of a subdivision mesh, read into what OpenSubdiv takes.
#include <algorithm>
#include <string>

#include "preview/surfaces/subdivision_surface.h"

namespace vellum::preview {

namespace {

void ignore(SubdivisionTags &tags, const std::string &name) {
  if (std::find(tags.ignored.begin(), tags.ignored.end(), name) == tags.ignored.end()) tags.ignored.push_back(name);
}

}  // namespace

SubdivisionTags readSubdivisionTags(int ntags, const char *const tags[], const int32_t nargs[],
                                    const int32_t intargs[], const float floatargs[],
                                    const char *const stringargs[], bool hierarchical, int64_t vertexCount,
                                    int64_t faceCount) {
  SubdivisionTags read;
  const int stride = hierarchical ? 3 : 2;
  int64_t intOffset = 0, floatOffset = 0, stringOffset = 0;
  for (int t = 0; tags != nullptr && nargs != nullptr && t < ntags; ++t) {
    const int32_t ints = nargs[stride * t], floats = nargs[stride * t + 1],
                  strings = hierarchical ? nargs[stride * t + 2] : 0;
    if (ints < 0 || floats < 0 || strings < 0 || (ints > 0 && intargs == nullptr) ||
        (floats > 0 && floatargs == nullptr) || (strings > 0 && stringargs == nullptr))
      break;
    const int32_t *i = intargs + intOffset;
    const float *x = floatargs + floatOffset;
    const char *const *s = stringargs != nullptr ? stringargs + stringOffset : nullptr;
    intOffset += ints, floatOffset += floats, stringOffset += strings;
    if (tags[t] == nullptr) continue;
    const std::string tag = tags[t];
    // The sharpness of the k-th of `count` elements: one each, or one for all.
    auto sharpness = [&](int32_t k, int32_t count) { return floats == count ? x[k] : x[0]; };
    if (tag == "hole") {
      for (int32_t k = 0; k < ints; ++k)
        if (i[k] >= 0 && i[k] < faceCount) read.holes.push_back(i[k]);
    } else if (tag == "interpolateboundary") {
      // Without an argument: 1.
      const int32_t mode = ints > 0 ? i[0] : 1;
      read.interpolateBoundary = mode >= 0 && mode <= 2 ? mode : 1;
    } else if (tag == "facevaryinginterpolateboundary") {
      const int32_t mode = ints > 0 ? i[0] : 1;
      read.faceVaryingBoundary = mode >= 0 && mode <= 3 ? mode : 1;
    } else if (tag == "facevaryingpropagatecorners") {
      read.propagateCorners = ints > 0 && i[0] != 0;
    } else if (tag == "smoothtriangles") {
      read.smoothTriangles = ints == 0 || i[0] != 0;
    } else if (tag == "creasemethod") {
      if (strings > 0 && s[0] != nullptr && (std::string(s[0]) == "chaikin" || std::string(s[0]) == "normal"))
        read.chaikin = std::string(s[0]) == "chaikin";
      else
        ignore(read, tag);
    } else if (tag == "crease") {
      // A chain of vertices: an edge between each two in turn.
      for (int32_t k = 0; floats > 0 && k + 1 < ints; ++k) {
        const float sharp = sharpness(k, ints - 1);
        if (!(sharp > 0) || i[k] < 0 || i[k] >= vertexCount || i[k + 1] < 0 || i[k + 1] >= vertexCount ||
            i[k] == i[k + 1])
          continue;
        read.creases.insert(read.creases.end(), {i[k], i[k + 1]});
        read.creaseSharpness.push_back(sharp);
      }
    } else if (tag == "corner") {
      for (int32_t k = 0; floats > 0 && k < ints; ++k) {
        const float sharp = sharpness(k, ints);
        if (!(sharp > 0) || i[k] < 0 || i[k] >= vertexCount) continue;
        read.corners.push_back(i[k]);
        read.cornerSharpness.push_back(sharp);
      }
    } else {
      ignore(read, tag);
    }
  }
  return read;
}

}  // namespace vellum::preview
