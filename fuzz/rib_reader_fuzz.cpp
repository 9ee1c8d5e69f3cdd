// libFuzzer target for the RIB reader.  Each input starts from the state of
// a new process (as far as the library allows: interned names stay), so a
// finding reproduces from its bytes alone.
//
// The first byte chooses how the rest is read: as ASCII or binary output,
// as one input or as several (split at the byte 0x1E) read as one stream,
// plain or gzip-compressed through a file, and whether floats are written
// with their shortest exact text (as ribcat writes them) or with six
// digits (as the library does by default).  Everything the reader accepts
// is written by a real RibWriter; the sanitizers then catch any read past
// the arrays the reader handed over.  What the writer wrote must read back
// without an error and, once its numbers are what six digits made of them,
// write again to the very same bytes.  With the bit 0x10 the stream goes
// to the preview renderer instead, which draws every world into a small
// picture: anything the reader accepts must draw without a fault.  The bit
// 0x20 re-writes as ribcat does (whole numbers of undeclared parameters as
// integers).  With the bit 0x40 the next four bytes order a bomb
// (fuzz/rib_bombs.h: its kind, fan-out, levels and size) and the rest
// follows it, read as qview reads into the preview, under a work meter of
// small limits: a loop that escapes the meter shows as a timeout.  With
// the bit 0x80 the preview's streams are read a request at a time
// (RibReader::next), each request's values taken away once handed out,
// as the Python package takes them.
// Run it with -close_fd_mask=2: diagnostics are expected here.
#include <unistd.h>
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/work_meter.h"
#include "decl/declaration.h"
#include "fuzz/rib_bombs.h"
#include "preview/preview_context.h"
#include "reader/archive_files.h"
#include "reader/byte_source.h"
#include "reader/rib_reader.h"
#include "ri/context_factory.h"

namespace {

const std::string &scratch(const char *what) {
  static const std::string directory = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  static std::string paths[3];
  const int i = what[0] == 'a' ? 0 : what[0] == 'b' ? 1 : 2;
  if (paths[i].empty())
    paths[i] = directory + "/vellum-fuzz-" + std::to_string(getpid()) + "-" + what;
  return paths[i];
}

std::string readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

void writeGzip(const std::string &path, const std::string &data) {
  gzFile file = gzopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  if (!data.empty()) gzwrite(file, data.data(), static_cast<unsigned>(data.size()));
  gzclose(file);
}

// Reads the inputs as one stream into a new writer of `path`; returns the
// number of errors.
int rewrite(std::vector<vellum::RibInput> inputs, const std::string &path, bool binary,
            RtInt precision, bool asRibcat) {
  vellum::forgetAllDeclarations();
  RtInt format = binary ? 1 : 0;
  RtToken settings[] = {const_cast<char *>("binary"), const_cast<char *>("precision")};
  RtPointer values[] = {&format, &precision};
  std::unique_ptr<vellum::RenderContext> writer(
      vellum::newRibWriter(const_cast<char *>(path.c_str()), 2, settings, values));
  vellum::RibReader::Options options;
  options.integersAsWritten = asRibcat;
  vellum::RibReader reader(*writer, nullptr, options);
  reader.read(std::move(inputs));
  return reader.errors();
}

// Small limits, so that a bomb shows as a slow input within the fuzzer's
// time limit.
vellum::WorkMeter::Limits fuzzLimits() {
  vellum::WorkMeter::Limits limits{};
  limits[vellum::WorkMeter::kRequests] = {200000, 4};
  limits[vellum::WorkMeter::kArchiveBytes] = {1 << 20, 16};
  limits[vellum::WorkMeter::kRecordedBytes] = {1 << 20, 2};
  limits[vellum::WorkMeter::kText] = {1 << 20, 16};
  limits[vellum::WorkMeter::kDrawing] = {200000, 16};
  limits[vellum::WorkMeter::kSamples] = {4 << 20, 64};
  return limits;
}

// Reads `files` as qview does (archives followed, variables replaced,
// conditions acted on) into the preview, which draws small pictures.
void readAsQview(const std::map<std::string, std::string> &files, bool pull) {
  vellum::MemoryArchives archives(files);
  vellum::WorkMeter meter(fuzzLimits());
  vellum::RibReader::Options options;
  options.archives = &archives;
  options.meter = &meter;
  options.substituteVariables = true;
  options.actOnConditions = true;
  vellum::preview::PreviewContext preview;
  preview.setWorkMeter(&meter);
  preview.setPictureLimit(48 * 48);
  preview.setWarningHandler([](const std::string &) {});
  vellum::RibReader reader(preview, nullptr, options);
  std::vector<vellum::RibInput> inputs;
  inputs.push_back({"main", std::make_unique<vellum::MemorySource>(files.at("main")), "main"});
  if (pull) {
    reader.start(std::move(inputs));
    vellum::RibReader::Pulled pulled;
    while (reader.next(pulled)) *pulled.request = vellum::RibRequest();
  } else {
    reader.read(std::move(inputs));
  }
  preview.finishOpenWorld();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  const unsigned mode = data[0];
  const bool binary = mode & 1, split = mode & 2, gzip = mode & 4;
  const RtInt precision = (mode & 8) ? 6 : 0;
  const std::string text(reinterpret_cast<const char *>(data) + 1, size - 1);

  std::vector<std::string> parts;
  if (split) {
    size_t start = 0;
    for (size_t at; parts.size() < 7 && (at = text.find('\x1e', start)) != std::string::npos;
         start = at + 1)
      parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
  } else {
    parts.push_back(text);
  }
  std::vector<vellum::RibInput> inputs;
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string name = "part" + std::to_string(i);
    if (gzip && i == 0) {
      writeGzip(scratch("gz"), parts[i]);
      std::string error;
      inputs.push_back({name, vellum::openByteSource(scratch("gz"), &error)});
      if (inputs.back().source == nullptr) std::abort();
    } else {
      inputs.push_back({name, std::make_unique<vellum::MemorySource>(parts[i])});
    }
  }

  if (mode & 0x40) {
    // A bomb made to the next bytes' order, with the rest after it.
    if (text.size() < 4) return 0;
    const auto kind = static_cast<vellum::bombs::Kind>(static_cast<unsigned char>(text[0]) % vellum::bombs::kKinds);
    std::map<std::string, std::string> files =
        vellum::bombs::makeBomb(kind, 1 + static_cast<unsigned char>(text[1]), 1 + text[2] % 8,
                                static_cast<size_t>(static_cast<unsigned char>(text[3])) * 64);
    files["main"] += text.substr(4);
    readAsQview(files, mode & 0x80);
    return 0;
  }
  if (mode & 0x10) {
    // The first part is the stream; every part is also an archive it may
    // read, by the name "partN", so cycles and fan-outs are in reach.
    std::map<std::string, std::string> files;
    for (size_t i = 0; i < parts.size(); ++i) files["part" + std::to_string(i)] = parts[i];
    files["main"] = parts[0];
    readAsQview(files, mode & 0x80);
    return 0;
  }

  const bool asRibcat = mode & 0x20;
  rewrite(std::move(inputs), scratch("a"), binary, precision, asRibcat);
  std::string first = readFile(scratch("a"));
  if (precision != 0) {
    // Six digits change numbers once; from then on they stay.
    std::vector<vellum::RibInput> again;
    again.push_back({"rounded", std::make_unique<vellum::MemorySource>(first)});
    rewrite(std::move(again), scratch("a"), binary, precision, asRibcat);
    first = readFile(scratch("a"));
  }
  std::vector<vellum::RibInput> again;
  again.push_back({"first", std::make_unique<vellum::MemorySource>(first)});
  const int errors = rewrite(std::move(again), scratch("b"), binary, precision, asRibcat);
  if (errors != 0) {
    std::fprintf(stderr, "what the writer wrote reads back with %d errors:\n%s\n", errors,
                 first.c_str());
    std::abort();
  }
  if (readFile(scratch("b")) != first) {
    std::fprintf(stderr, "a second pass changed the bytes:\n%s\n---\n%s\n", first.c_str(),
                 readFile(scratch("b")).c_str());
    std::abort();
  }
  return 0;
}
