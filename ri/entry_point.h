// Shorthands shared by the files of entry points.
#ifndef VELLUM_RI_ENTRY_POINT_H
#define VELLUM_RI_ENTRY_POINT_H

#include "ri/current_context.h"
#include "ri/param_pairs.h"

// The current context of the calling entry point, reported under the entry
// point's own name when there is none.
#define VELLUM_CONTEXT() (::vellum::requireContext(__func__))
// The calls that return a handle or token report a missing context without
// a call name.
#define VELLUM_CONTEXT_UNNAMED() (::vellum::requireContext(nullptr))
// The collected pairs as the last three arguments of a list form.
#define VELLUM_PAIR_ARGS(pairs) (pairs).n, (pairs).tokens, (pairs).parms

#endif
