// Variable references in the strings of a stream, replaced when the stream
// asks for it (Option "ribparse" "string varsubst" ["$"]) and the reader
// acts on what it reads:
//   $name             name: a letter or "_", then letters, digits and "_"
//   ${name}           any name up to the "}"
//   $user:name, ${user:name}
// $name and ${name} are the Option "user" value of the name, or else the
// environment variable; with "user:" only the Option "user" value.
// Values are not searched for references again.  A "$" that begins no
// reference is kept, and so is a reference to a variable that is not set.
#ifndef VELLUM_READER_VARIABLES_H
#define VELLUM_READER_VARIABLES_H

#include <functional>
#include <string>

namespace vellum {

// A variable's value, or null when it is not set; `userOnly` for
// "user:name".
using VariableValue = std::function<const char *(const std::string &name, bool userOnly)>;

enum class Substitution {
  kNone,     // nothing was replaced
  kMade,     // `out` holds the text with its references replaced
  kTooLong,  // the text would be longer than `mostLength`: `out` holds what
             // was made before that was known, which is not to be used
};

// `text` with its references replaced, into `out`; `unset` hears each
// reference left as written, as written ("$name", "${name}").  Building
// stops as soon as the result would pass `mostLength`, so that a hostile
// value repeated many times costs no more than the bound.
Substitution substituteVariables(const std::string &text, const VariableValue &value,
                                 const std::function<void(const std::string &)> &unset,
                                 size_t mostLength, std::string *out);

}  // namespace vellum

#endif
