// StreamState: what one RIB stream has said so far that changes how the
// rest of it reads: its declarations, the basis steps, the light and
// object handles it defined, the blocks it has open, and its reading
// options.  Each stream has its own, so reading one file never changes how
// another reads (an archive starts with the reading options of the stream
// that reads it).
#ifndef VELLUM_READER_STREAM_STATE_H
#define VELLUM_READER_STREAM_STATE_H

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "decl/declaration_dictionary.h"
#include "reader/reading_options.h"
#include "ri.h"

namespace vellum {

struct StreamState {
  DeclarationDictionary declarations;
  RtInt uStep = 3;
  RtInt vStep = 3;

  // Handles by the text the stream gives them ("7", or "\"key\"" for a
  // string handle), mapped to what the target returned.  Handles of
  // requests that were rejected are remembered, so that a reference to
  // one is refused instead of meeting another light of the same number.
  std::unordered_map<std::string, RtLightHandle> lights;
  std::unordered_set<std::string> rejectedLights;
  std::unordered_map<std::string, RtObjectHandle> objects;
  std::unordered_set<std::string> rejectedObjects;
  // Nesting depth of an object definition being skipped because its
  // ObjectBegin was rejected.
  int skippedObjectDepth = 0;

  // The blocks open, innermost last: the request that began each (its
  // keyword, which lives as long as the request list), and where.
  struct OpenBlock {
    const char *opener;
    int input;
    int line;
  };
  std::vector<OpenBlock> blocks;

  // The IfBegin blocks open, when a reader acts on conditions: whether
  // the block around acts, whether a branch was taken, whether the branch
  // now read acts.
  struct Condition {
    bool outerActs;
    bool taken;
    bool acts;
  };
  std::vector<Condition> conditions;

  // Archives the stream read that were not there, which may have defined
  // the handles it refers to: how many, and the last one's name.
  int missingArchives = 0;
  std::string lastMissingArchive;

  ReadingOptions reading;
};

}  // namespace vellum

#endif
