// Decompression of gzip input as it is read: a ByteSource over another
// that hands on gzip data decompressed (through ISA-L's igzip where the
// build has it, zlib otherwise) and anything else as it is.  Memory stays
// the same whatever the input's size: one buffer of input, the engine's
// window.
#ifndef VELLUM_READER_GZIP_SOURCE_H
#define VELLUM_READER_GZIP_SOURCE_H

#include <memory>

#include "reader/byte_source.h"

namespace vellum {

// Reads `raw`: data that begins with gzip's magic bytes is decompressed,
// member after member (as concatenated .gz files are); bytes after the
// last member that do not begin another are left unread, as gzip -d does
// with trailing garbage.  A gzip stream cut short or failing its check is
// a read error ("unexpected end of file", "incorrect data check"), and so
// is a read error of `raw`.
std::unique_ptr<ByteSource> decompressing(std::unique_ptr<ByteSource> raw);

// The same through a given engine (to measure one beside the other); null
// when the build has not got it.
enum class GunzipEngine { kIsal, kZlib };
std::unique_ptr<ByteSource> decompressing(std::unique_ptr<ByteSource> raw, GunzipEngine engine);

}  // namespace vellum

#endif
