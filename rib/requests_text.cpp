// The requests whose rows say TEXT, written generically: the keyword, each
// operand after a blank, and the parameter list (see textRequest).
#include <tuple>

#include "rib/rib_writer.h"
#include "rib/writer_counts.h"

namespace vellum {

#define VELLUM_TEXT_PLAIN(Name, R, Params, Args, Counts) \
  R RibWriter::Name Params { textRequest(#Name, std::forward_as_tuple Args); }
#define VELLUM_TEXT_LIST(Name, R, Params, Args, Counts)                                  \
  R RibWriter::Name##V VELLUM_LIST_PARAMS(Params) {                                      \
    listRequest(#Name, writerCounts::Counts Args, n, tokens, parms, std::forward_as_tuple Args); \
  }
#define VELLUM_TEXT_LIST_V_FIRST VELLUM_TEXT_LIST
#define VELLUM_TEXT_ROW_TEXT(Name, form, R, Params, Args, Counts) VELLUM_TEXT_##form(Name, R, Params, Args, Counts)
#define VELLUM_TEXT_ROW_OWN_TEXT(...)
#define VELLUM_TEXT_ROW_NONE(...)
#define VELLUM_TEXT_ROW(Name, form, R, Params, Args, operands, Counts, check, flags, entry, text, ...) \
  VELLUM_TEXT_ROW_##text(Name, form, R, Params, Args, Counts)

VELLUM_REQUESTS(VELLUM_TEXT_ROW)

}  // namespace vellum
