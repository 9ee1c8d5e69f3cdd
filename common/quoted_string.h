// Strings in RIB text: quoted strings and comment lines.
#ifndef VELLUM_COMMON_QUOTED_STRING_H
#define VELLUM_COMMON_QUOTED_STRING_H

#include <string>

namespace vellum {

// Appends `text` between double quotes, escaping the bytes that could end
// the string or the line early: \" \\ \n \r.  Every other byte is written as
// it is.  A null text is the empty string.
void appendQuoted(std::string &out, const char *text);

// Appends `text` as comment lines that each start with `prefix` ("# " or
// "##"): after every line end inside the text the prefix is repeated, so
// the text cannot leave the comment.  A line end at the very end of the
// text starts no further line.  No line end is added.
void appendCommentText(std::string &out, const char *prefix, const std::string &text);

}  // namespace vellum

#endif
