// ReadingOptions: what a stream's options say of how the rest of it is
// read.  Option "searchpath" "archive" ["dir1:dir2:@"] sets where the
// archives it reads are looked for.  Like every option, they hold until
// changed or until the end of the frame they were set in; an archive
// starts with those of the stream that reads it, and what it sets stays
// its own.
#ifndef VELLUM_READER_READING_OPTIONS_H
#define VELLUM_READER_READING_OPTIONS_H

#include <string>
#include <vector>

#include "decl/declaration_dictionary.h"
#include "reader/rib_request.h"

namespace vellum {

struct ReadingOptions {
  // The directories that relative archive names are looked for in, in
  // order; "" is the current directory (a name is opened as it is given).
  std::vector<std::string> archivePath{""};
};

// The archive path that a value of Option "searchpath" "archive" sets:
// entries separated by ":", "@" the default (the current directory), "&"
// the path before; empty entries and repeated directories are left out,
// and a value that names no directory sets the default.
std::vector<std::string> archivePathOf(const std::string &value,
                                       const std::vector<std::string> &previous);

// Takes in what an accepted Option request says of how the stream reads;
// other options change nothing here.
void applyOption(ReadingOptions &options, DeclarationDictionary &declarations,
                 const RibRequest &request);

}  // namespace vellum

#endif
