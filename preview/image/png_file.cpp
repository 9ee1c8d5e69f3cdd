#include "preview/image/png_file.h"

#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace vellum::preview {

namespace {

struct FileCloser {
  void operator()(FILE *f) const { std::fclose(f); }
};

// libpng reports errors through a longjmp; the message is kept here first.
void onPngError(png_structp png, png_const_charp message) {
  auto *text = static_cast<std::string *>(png_get_error_ptr(png));
  if (text != nullptr) *text = message;
  png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

}  // namespace

namespace {

void writeBytes(png_structp png, png_bytep data, png_size_t length) {
  if (std::fwrite(data, 1, length, static_cast<FILE *>(png_get_io_ptr(png))) != length)
    png_error(png, std::strerror(errno));
}

// Encodes `image` into `file`; returns what went wrong, or "".
std::string encodePng(FILE *file, const Image &image) {
  std::string error;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, onPngError, onPngWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return "out of memory";
  }
  if (setjmp(png_jmpbuf(png)) == 0) {
    // Through our own writer, so that a failed write says why.
    png_set_write_fn(png, file, writeBytes, nullptr);
    png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 3);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y)
      png_write_row(png, const_cast<png_bytep>(image.pixel(0, y)));
    png_write_end(png, nullptr);
  } else if (error.empty()) {
    error = "libpng failed";
  }
  png_destroy_write_struct(&png, &info);
  if (error.empty() && (std::fflush(file) != 0 || std::ferror(file))) error = std::strerror(errno);
  return error;
}

}  // namespace

std::string writePng(const std::string &path, const Image &image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.rgba.size() != size_t(image.width) * size_t(image.height) * 4)
    return "cannot write " + path + ": the picture is empty";
  // A regular file (or none) is replaced only by a whole picture: it is
  // written beside it first.  Anything else (a symbolic link, a device, a
  // FIFO) is written through, and never removed.
  struct stat status;
  const bool replace = lstat(path.c_str(), &status) == 0 ? S_ISREG(status.st_mode) : errno == ENOENT;
  std::string temporary;
  FILE *opened = nullptr;
  if (replace) {
    temporary = path + ".XXXXXX";
    const int fd = mkstemp(&temporary[0]);
    if (fd >= 0) {
      // The mode a new file would have, or the one of the file replaced.
      const mode_t mask = umask(0);
      umask(mask);
      fchmod(fd, S_ISREG(status.st_mode) ? status.st_mode & 07777 : 0666 & ~mask);
      opened = fdopen(fd, "wb");
      if (opened == nullptr) {
        close(fd);
        unlink(temporary.c_str());
      }
    }
    if (opened == nullptr) temporary.clear();  // a directory that takes no new file
  }
  if (opened == nullptr) opened = std::fopen(path.c_str(), "wb");
  if (opened == nullptr) return "cannot write " + path + ": " + std::strerror(errno);
  std::string error = encodePng(opened, image);
  if (std::fclose(opened) != 0 && error.empty()) error = std::strerror(errno);
  if (!temporary.empty()) {
    if (error.empty() && rename(temporary.c_str(), path.c_str()) != 0) error = std::strerror(errno);
    if (!error.empty()) unlink(temporary.c_str());
  }
  return error.empty() ? "" : "cannot write " + path + ": " + error;
}

std::string readPng(const std::string &path, Image &image) {
  std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return "cannot read " + path + ": " + std::strerror(errno);
  std::string error;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, onPngError, onPngWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return "cannot read " + path + ": out of memory";
  }
  Image read;
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file.get());
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    read.width = int(png_get_image_width(png, info));
    read.height = int(png_get_image_height(png, info));
    read.rgba.resize(size_t(read.width) * size_t(read.height) * 4);
    for (int y = 0; y < read.height; ++y)
      png_read_row(png, &read.rgba[size_t(y) * size_t(read.width) * 4], nullptr);
    png_read_end(png, nullptr);
  } else if (error.empty()) {
    error = "libpng failed";
  }
  png_destroy_read_struct(&png, &info, nullptr);
  if (!error.empty()) return "cannot read " + path + ": " + error;
  image = std::move(read);
  return "";
}

}  // namespace vellum::preview
