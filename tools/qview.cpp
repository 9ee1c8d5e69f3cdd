// qview: a stand-in renderer program.  It reads RIB from standard input or
// from the files named on its command line, checks every request, says on
// standard error what it found, and, when asked for a picture, draws a
// preview of what the stream describes and writes it as PNG.  Each file is
// checked on its own.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "preview/preview_context.h"
#include "reader/stream_summary.h"
#include "ri/null_context.h"
#include "tools/rib_input.h"
#include "tools/summary_report.h"

namespace {

const char kUsage[] =
    "usage: qview [-v] [-o FILE] [--display] [--strict] [--stats [--json]] [FILE...]\n"
    "\n"
    "Reads RIB (ASCII or binary, plain or gzip-compressed) from the files, or\n"
    "from standard input, checks every request and prints a summary on\n"
    "standard error.  Each file is checked on its own, with the archives it\n"
    "reads.\n"
    "\n"
    "  -v         list every request read on standard output\n"
    "  -o FILE    draw a preview and write the first picture to FILE as PNG;\n"
    "             with %d in the name, every picture, %d its frame number\n"
    "  --display  also write the pictures that the stream's Display requests\n"
    "             name (type \"file\" or \"png\", a name ending in .png)\n"
    "  --strict   count warnings as errors\n"
    "  --stats    after checking each file, print a summary of it on standard\n"
    "             output: each request's count and bytes, primitives with their\n"
    "             vertices, faces, curves and points, frames, worlds, lights,\n"
    "             objects and instances, archives read, the largest requests\n"
    "  --json     print the summaries as one JSON object (implies --stats)\n"
    "  --version  show the version\n"
    "  --help     show this text\n"
    "\n"
    "Without -o, the environment variable QVIEW_OUTPUT names the picture, so a\n"
    "program that pipes into qview gets one unchanged.  With none of these,\n"
    "qview only checks and writes no file.  A stream never chooses where a file\n"
    "is written unless --display is given.\n"
    "\n"
    "The work of each file is bounded whatever it holds: the requests read or\n"
    "replayed, the archive bytes, the text that variables and expressions\n"
    "build and what drawing costs are counted against limits that grow with\n"
    "the file's size; past one, qview reports it and reads no more of the\n"
    "file (the picture keeps what was drawn).  A file is given up after 100\n"
    "errors.  qview(1) lists the limits.\n"
    "\n"
    "Exit status: 0 when the input was valid, 1 when it had errors (or, with\n"
    "--strict, warnings) or a picture or the -v listing could not be written,\n"
    "2 for a usage error.\n";

struct Tally {
  long errors = 0, warnings = 0;
};

// Reads one RIB file, with the archives it reads, into `context` as a
// stream of its own; the archives read go to `summary` when there is one.
void readFile(vellum::RibInput input, vellum::RenderContext &context,
              const vellum::RibReader::Options &options,
              const vellum::RibReader::Observer &observer, vellum::StreamSummary *summary, Tally &tally) {
  vellum::RibReader reader(context, vellum::printDiagnostic, options);
  reader.setObserver(observer);
  if (summary != nullptr)
    reader.setArchiveObserver(
        [summary](const std::string &path, int, uint64_t bytes) { summary->archive(path, bytes); });
  std::vector<vellum::RibInput> inputs;
  inputs.push_back(std::move(input));
  reader.read(std::move(inputs));
  tally.errors += reader.errors();
  tally.warnings += reader.warnings();
}

// The text summary of the file just read, printed as soon as it is read
// (JSON waits for all the files); `current`, the summary being gathered,
// is done with either way.
void printSummary(std::vector<vellum::FileSummary> &summaries, vellum::StreamSummary *&current, bool json) {
  current = nullptr;
  if (summaries.empty() || json) return;
  std::fputs(vellum::summaryText(summaries.back()).c_str(), stdout);
  // Its memory is not needed any more.
  summaries.pop_back();
}

}  // namespace

int main(int argc, char **argv) {
  bool verbose = false, writeDisplays = false, stats = false, json = false;
  std::string output;
  vellum::DirectoryArchives archives;
  vellum::RibReader::Options options;
  options.archives = &archives;
  options.substituteVariables = true;
  options.actOnConditions = true;
  std::vector<std::string> names;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return vellum::standardOutputFlushed("qview") ? 0 : 1;
    } else if (arg == "--version") {
      vellum::printVersion("qview");
      return vellum::standardOutputFlushed("qview") ? 0 : 1;
    } else if (arg == "-v") {
      verbose = true;
    } else if (arg == "--strict") {
      options.strict = true;
    } else if (arg == "--stats") {
      stats = true;
    } else if (arg == "--json") {
      stats = json = true;
    } else if (arg == "--display") {
      writeDisplays = true;
    } else if (arg == "-o") {
      if (++i == argc) {
        std::fprintf(stderr, "qview: -o needs a file name\n%s", kUsage);
        return 2;
      }
      output = argv[i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      std::fprintf(stderr, "qview: unknown option %s\n%s", arg.c_str(), kUsage);
      return 2;
    } else {
      names.push_back(arg);
    }
  }
  if (verbose && json) {
    std::fprintf(stderr, "qview: -v and --json both write to standard output\n%s", kUsage);
    return 2;
  }
  if (names.empty()) names.push_back("-");
  if (output.empty()) {
    const char *fromEnvironment = std::getenv("QVIEW_OUTPUT");
    if (fromEnvironment != nullptr) output = fromEnvironment;
  }

  long requests = 0, worlds = 0, primitives = 0;
  Tally tally;
  bool pictureWritten = false;
  std::vector<vellum::FileSummary> summaries;
  // The summary of the file being read, when asked for.
  vellum::StreamSummary *summary = nullptr;
  const auto observer = [&](const std::string &shownName) {
    return [&, shownName](const vellum::RequestRow &row, const vellum::RibRequest &request,
                          const vellum::PrimitiveCounts *counts) {
      if (summary != nullptr) summary->request(row, request, counts);
      ++requests;
      worlds += request.name == "WorldBegin";
      primitives += (row.flags & vellum::kPrimitive) != 0;
      if (verbose) std::printf("%s:%d: %s\n", shownName.c_str(), request.line, request.name.c_str());
    };
  };
  for (const std::string &name : names) {
    vellum::RibInput input;
    if (!vellum::openRibInput(name, &input)) {
      ++tally.errors;
      continue;
    }
    const std::string shownName = input.name;
    // Without a picture to draw nothing of the drawing state is kept: the
    // checks need only what the reader itself holds.
    // One meter for all the work of the file, reading and drawing alike.
    vellum::WorkMeter meter;
    options.meter = &meter;
    if (stats) {
      summaries.push_back({shownName, {}});
      summary = &summaries.back().summary;
    }
    if (output.empty() && !writeDisplays) {
      vellum::NullContext checker;
      readFile(std::move(input), checker, options, observer(shownName), summary, tally);
      printSummary(summaries, summary, json);
      continue;
    }
    vellum::preview::PreviewContext preview;
    preview.setWorkMeter(&meter);
    preview.setDrawOnlyWithDestination(true);
    preview.setWriteDisplays(writeDisplays);
    // Without %d only the first picture of all is written.
    if (!pictureWritten || output.find("%d") != std::string::npos) preview.setOutput(output);
    preview.setWarningHandler(
        [](const std::string &message) { std::fprintf(stderr, "qview: %s\n", message.c_str()); });
    // The request being drawn, for the warnings that name a part of the
    // scene.
    std::string requestName;
    int requestLine = 0;
    preview.setPlaceOfRequest(
        [&] { return requestName + " at " + shownName + ":" + std::to_string(requestLine); });
    const auto observe = observer(shownName);
    readFile(std::move(input), preview, options,
             [&](const vellum::RequestRow &row, const vellum::RibRequest &request,
                 const vellum::PrimitiveCounts *counts) {
               requestName = request.name;
               requestLine = request.line;
               observe(row, request, counts);
             },
             summary, tally);
    printSummary(summaries, summary, json);
    // A file that ends inside a world (cut short, or stopped by its meter)
    // still gets the picture of what was drawn.
    preview.finishOpenWorld();
    for (const std::string &written : preview.writtenFiles()) {
      std::fprintf(stderr, "qview: picture written to %s\n", written.c_str());
      pictureWritten = true;
    }
    if (!preview.lastWriteError().empty()) ++tally.errors;
  }
  if (json) std::fputs(vellum::summariesJson(summaries).c_str(), stdout);
  // Like a picture that cannot be written, a lost -v listing or summary is
  // an error.
  if (!vellum::standardOutputFlushed("qview")) ++tally.errors;
  const long errors = tally.errors, warnings = tally.warnings;
  std::fprintf(stderr, "qview: %ld requests, %ld world%s, %ld primitive%s, %ld error%s", requests,
               worlds, worlds == 1 ? "" : "s", primitives, primitives == 1 ? "" : "s", errors,
               errors == 1 ? "" : "s");
  if (warnings > 0) std::fprintf(stderr, ", %ld warning%s", warnings, warnings == 1 ? "" : "s");
  std::fputc('\n', stderr);
  return errors == 0 ? 0 : 1;
}
