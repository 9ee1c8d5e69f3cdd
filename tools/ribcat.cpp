// ribcat: reads RIB and writes it again through vellum.  Several files are
// read as one stream, as if they were concatenated.
#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "rib/gzip_sink.h"
#include "rib/rib_writer.h"
#include "tools/rib_input.h"

namespace {

const char kUsage[] =
    "usage: ribcat [-b] [-z] [--level LEVEL] [-p DIGITS] [-o FILE] [--strict] [FILE...]\n"
    "\n"
    "Reads RIB (ASCII or binary, plain or gzip-compressed) from the files, or\n"
    "from standard input when none is named or a name is \"-\", as one stream,\n"
    "checks every request, and writes the valid ones again through the vellum\n"
    "library.\n"
    "\n"
    "  -b         write binary RIB (floats as binary tokens) instead of ASCII\n"
    "  -z         write gzip-compressed RIB\n"
    "  --level LEVEL  compress at LEVEL, 1 (the fastest, the default) to 9 (the\n"
    "             smallest; 6 is gzip's default); implies -z\n"
    "  -p DIGITS  write floats as text with 1 to 9 significant digits; 0, the\n"
    "             default, writes the shortest text that reads back as the same\n"
    "             float, so no number changes; 6 is what the library writes\n"
    "  -o FILE    write to FILE instead of standard output\n"
    "  --strict   count warnings as errors and leave their requests out\n"
    "  --version  show the version\n"
    "  --help     show this text\n"
    "\n"
    "Errors go to standard error as FILE:LINE: message; a bad request is left\n"
    "out and reading goes on.  Nothing is written when an input cannot be\n"
    "opened.  Exit status: 0 when the input was valid, 1 when it had errors\n"
    "(or, with --strict, warnings) or the output could not be written, 2 for\n"
    "a usage error.\n";

int usageError(const std::string &message) {
  std::fprintf(stderr, "ribcat: %s\n%s", message.c_str(), kUsage);
  return 2;
}

}  // namespace

int main(int argc, char **argv) {
  bool binary = false, gzip = false;
  RtInt precision = 0, level = 1;
  std::string output;
  vellum::RibReader::Options options;
  options.integersAsWritten = true;
  std::vector<std::string> names;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return vellum::standardOutputFlushed("ribcat") ? 0 : 1;
    } else if (arg == "--version") {
      vellum::printVersion("ribcat");
      return vellum::standardOutputFlushed("ribcat") ? 0 : 1;
    } else if (arg == "-b") {
      binary = true;
    } else if (arg == "-z" || arg == "--level") {
      if (!vellum::gzipAvailable()) return usageError(arg + ": this vellum was built without zlib");
      gzip = true;
      if (arg == "--level") {
        const std::string digits = ++i < argc ? argv[i] : "";
        if (digits.size() != 1 || digits[0] < '1' || digits[0] > '9')
          return usageError("--level needs a level from 1 to 9");
        level = digits[0] - '0';
      }
    } else if (arg == "--strict") {
      options.strict = true;
    } else if (arg == "-p") {
      const std::string digits = ++i < argc ? argv[i] : "";
      if (digits.size() != 1 || digits[0] < '0' || digits[0] > '9')
        return usageError("-p needs a number of digits from 0 to 9");
      precision = digits[0] - '0';
    } else if (arg == "-o") {
      if (++i == argc) return usageError("-o needs a file name");
      output = argv[i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      return usageError("unknown option " + arg);
    } else {
      names.push_back(arg);
    }
  }
  if (names.empty()) names.push_back("-");

  // Every input is opened before anything is written.
  std::vector<vellum::RibInput> inputs(names.size());
  bool opened = true;
  for (size_t i = 0; i < names.size(); ++i) opened &= vellum::openRibInput(names[i], &inputs[i]);
  if (!opened) return 1;

  // The output is a file even when its name looks like a renderer program
  // or a command.
  if (!output.empty() && output.find('/') == std::string::npos) output = "./" + output;
  RtInt format = binary ? 1 : 0;
  RtString compression = const_cast<char *>(gzip ? "gzip" : "none");
  RtToken settings[] = {const_cast<char *>("binary"), const_cast<char *>("precision"),
                        const_cast<char *>("compression"), const_cast<char *>("compressionlevel")};
  RtPointer values[] = {&format, &precision, &compression, &level};
  std::unique_ptr<vellum::RibWriter> writer(new (std::nothrow) vellum::RibWriter(
      output.empty() ? nullptr : const_cast<char *>(output.c_str()), 4, settings, values));
  if (writer == nullptr) {
    std::fputs("ribcat: out of memory\n", stderr);
    return 1;
  }
  vellum::RibReader reader(*writer, vellum::printDiagnostic, options);
  reader.read(std::move(inputs));
  // A failed write of the RIB was reported by the library, once; only
  // then is standard output not checked again for the same loss.
  writer->close();
  const bool delivered = !writer->failed() && vellum::standardOutputFlushed("ribcat");
  return reader.errors() == 0 && delivered ? 0 : 1;
}
