// The summary qview --stats prints of each file: as text for people, or as
// JSON for scripts.
#ifndef VELLUM_TOOLS_SUMMARY_REPORT_H
#define VELLUM_TOOLS_SUMMARY_REPORT_H

#include <string>
#include <vector>

#include "reader/stream_summary.h"

namespace vellum {

struct FileSummary {
  std::string file;  // as the file is named in diagnostics
  StreamSummary summary;
};

std::string summaryText(const FileSummary &file);
// {"files": [...]}: one object a file, keys as qview(1) lists them.
std::string summariesJson(const std::vector<FileSummary> &files);

}  // namespace vellum

#endif
