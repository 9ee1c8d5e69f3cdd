#include "preview/png_file.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
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

std::string writePng(const std::string &path, const Image &image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.rgba.size() != size_t(image.width) * size_t(image.height) * 4)
    return "cannot write " + path + ": the picture is empty";
  std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return "cannot write " + path + ": " + std::strerror(errno);
  std::string error;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, onPngError, onPngWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    file.reset();
    std::remove(path.c_str());
    return "cannot write " + path + ": out of memory";
  }
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file.get());
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
  if (error.empty() && (std::fflush(file.get()) != 0 || std::ferror(file.get())))
    error = std::strerror(errno);
  const bool closed = std::fclose(file.release()) == 0;
  if (error.empty() && !closed) error = std::strerror(errno);
  if (error.empty()) return "";
  std::remove(path.c_str());
  return "cannot write " + path + ": " + error;
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
