// Decompressing input as it is read (reader/gzip_source.h): gzip member
// after member, anything else as it is, and the errors of a stream cut
// short or corrupt, whatever pieces the bytes arrive in.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "reader/gzip_source.h"
#include "tests/test_support.h"

namespace {

// Bytes in pieces of at most `piece` bytes a read.
class TrickleSource : public vellum::ByteSource {
 public:
  TrickleSource(std::string bytes, size_t piece) : bytes_(std::move(bytes)), piece_(piece) {}
  size_t read(char *buffer, size_t size) override {
    const size_t count = std::min({size, piece_, bytes_.size() - at_});
    std::copy_n(bytes_.data() + at_, count, buffer);
    at_ += count;
    return count;
  }

 private:
  std::string bytes_;
  size_t piece_;
  size_t at_ = 0;
};

// A read error after the bytes.
class FailingSource : public TrickleSource {
 public:
  using TrickleSource::TrickleSource;
  size_t read(char *buffer, size_t size) override {
    const size_t got = TrickleSource::read(buffer, size);
    if (got == 0) error_ = "Input/output error";
    return got;
  }
};

std::string gzipOf(const std::string &plain, int level = 6) {
  z_stream stream = {};
  deflateInit2(&stream, level, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, plain.size()) + 64, '\0');
  stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(plain.data()));
  stream.avail_in = static_cast<uInt>(plain.size());
  stream.next_out = reinterpret_cast<Bytef *>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

struct Read {
  std::string bytes, error;
};

// Each engine the build has: ISA-L and zlib, or zlib alone.
std::vector<vellum::GunzipEngine> engines() {
  std::vector<vellum::GunzipEngine> all;
  for (vellum::GunzipEngine engine : {vellum::GunzipEngine::kIsal, vellum::GunzipEngine::kZlib})
    if (vellum::decompressing(std::make_unique<vellum::MemorySource>(nullptr, 0), engine) != nullptr)
      all.push_back(engine);
  return all;
}

Read readAll(std::unique_ptr<vellum::ByteSource> raw, size_t bufferSize,
             vellum::GunzipEngine engine = vellum::GunzipEngine::kZlib) {
  std::unique_ptr<vellum::ByteSource> source = vellum::decompressing(std::move(raw), engine);
  Read read;
  std::string buffer(bufferSize, '\0');
  // Bounded: every read but the last gives at least a byte.
  for (size_t got; (got = source->read(buffer.data(), buffer.size())) != 0;) read.bytes.append(buffer, 0, got);
  read.error = source->error();
  EXPECT_EQ(source->read(buffer.data(), buffer.size()), 0u);  // the end stays the end
  return read;
}

TEST(GzipSource, DecompressesMemberAfterMemberAndPassesOtherBytes) {
  std::string rib;
  for (int i = 0; i < 20000; ++i) rib += "Sphere " + std::to_string(i) + " -1 1 360\n";
  const std::string first = "WorldBegin\n", second = "WorldEnd\n";
  const std::string member = gzipOf(rib);
  const std::string corrupt = [&] {
    std::string bytes = member;
    bytes[bytes.size() - 6] ^= 0x55;  // the CRC
    return bytes;
  }();
  struct Case {
    const char *what;
    std::string raw;
    std::string plain;
    std::string error;
  } cases[] = {
      {"plain bytes", rib, rib, ""},
      {"one gzip byte is plain", "\x1f", "\x1f", ""},
      {"nothing", "", "", ""},
      {"one member", member, rib, ""},
      {"a member of nothing", gzipOf(""), "", ""},
      {"members one after another", gzipOf(first) + member + gzipOf(second), first + rib + second, ""},
      {"bytes after the last member are left", gzipOf(first) + "trailing", first, ""},
      {"a member at the fastest level", gzipOf(rib, 1), rib, ""},
      {"cut short", member.substr(0, member.size() / 2), rib, "unexpected end of file"},
      {"cut short in the trailer", member.substr(0, member.size() - 3), rib, "unexpected end of file"},
      {"failing its check", corrupt, rib, "incorrect data check"},
  };
  for (const Case &c : cases) {
    for (vellum::GunzipEngine engine : engines()) {
    for (size_t piece : {size_t{1}, size_t{7}, size_t{1} << 20}) {
      for (size_t buffer : {size_t{1}, size_t{4096}, size_t{1} << 20}) {
        if (piece == 1 && buffer == 1 && c.raw.size() > 100000) continue;  // a minute for nothing new
        const std::string what = std::string(c.what) + ", pieces of " + std::to_string(piece) +
                                 ", reads of " + std::to_string(buffer) +
                                 (engine == vellum::GunzipEngine::kIsal ? ", ISA-L" : ", zlib");
        const Read read = readAll(std::make_unique<TrickleSource>(c.raw, piece), buffer, engine);
        EXPECT_EQ(read.error, c.error) << what;
        if (c.error.empty()) EXPECT_TRUE(read.bytes == c.plain) << what << ": " << read.bytes.size();
        // What came before the error is the start of the data.
        else EXPECT_EQ(c.plain.substr(0, read.bytes.size()), read.bytes) << what;
      }
    }
    }
  }
}

TEST(GzipSource, AReadErrorOfTheBytesUnderIsOne) {
  for (vellum::GunzipEngine engine : engines())
    for (const std::string &raw : {std::string("Sphere 1 -1 1 360\n"), gzipOf("Sphere 1 -1 1 360\n")}) {
      const Read read = readAll(std::make_unique<FailingSource>(raw.substr(0, raw.size() - 4), 5), 4096, engine);
      EXPECT_EQ(read.error, "Input/output error");
    }
}

// A corrupt member that reaches back into history the decompressor does
// not have (found by fuzzing) gives the same bytes whatever the memory it
// is decompressed in held before: nothing of earlier data shows through.
TEST(GzipSource, ACorruptMemberShowsNothingOfEarlierMemory) {
  const std::string corrupt(
      "\x1f\x8b\x08\x00\xda\xa3\x17\x6b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\xff\xff\x60\x10\x00\x01\xe8"
      "\x90\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b"
      "\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b"
      "\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b\x3b"
      "\x3b\x3b\x3b\x3b\x3b\x3b\x02\xff\x45\x4e\x31\x0e\xc2\x30\x0c\xdc\xf3\x0a\xcb\xcc\xa0\x44\x00\xcc"
      "\x00\x96\x53\x70\x68\x00\x65\x72\x65\xa6\x00\x80\x3f\x72\x65\xa6\x00\x80\x3f\x80\x00\x80\x43\xb4"
      "\x00\x00\x0a\x43\xb4\x00\x00\x0a",
      152);
  for (vellum::GunzipEngine engine : engines()) {
    std::vector<Read> reads;
    for (unsigned char fill : {0xa5, 0x5a}) {
      // Blocks a little larger than the decompressor's state, dirtied and
      // given back each with a small block after it (so that they are kept
      // for reuse, not returned to the system): the next state is made in
      // one of them.
      std::vector<std::unique_ptr<char[]>> dirty, fences;
      for (size_t size = 85 << 10; size < 100 << 10; size += 256) {
        dirty.emplace_back(new char[size]);
        std::fill_n(dirty.back().get(), size, static_cast<char>(fill));
        fences.emplace_back(new char[64]);
      }
      dirty.clear();
      reads.push_back(readAll(std::make_unique<vellum::MemorySource>(corrupt), 4096, engine));
    }
    EXPECT_EQ(reads[0].bytes, reads[1].bytes) << (engine == vellum::GunzipEngine::kIsal ? "ISA-L" : "zlib");
    EXPECT_EQ(reads[0].bytes.find('\x5a'), std::string::npos);
    EXPECT_NE(reads[0].error, "");
  }
}

}  // namespace
