// Writing and reading 8-bit RGBA PNG files through libpng.
#ifndef VELLUM_PREVIEW_IMAGE_PNG_FILE_H
#define VELLUM_PREVIEW_IMAGE_PNG_FILE_H

#include <string>

#include "preview/image/image.h"

namespace vellum::preview {

// Writes `image` to `path`; returns an empty string on success, otherwise
// what went wrong.  A regular file at `path` is replaced only by a whole
// picture, and a failed write leaves it as it was; a path that is not a
// regular file (a symbolic link, a device) is written through and never
// removed.
std::string writePng(const std::string &path, const Image &image);

// Reads a PNG of any colour type as 8-bit RGBA; returns an empty string
// on success, otherwise what went wrong.
std::string readPng(const std::string &path, Image &image);

}  // namespace vellum::preview

#endif
