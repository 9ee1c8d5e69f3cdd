// Shorthands shared by the files of entry points.
#ifndef VELLUM_RI_ENTRY_POINT_H
#define VELLUM_RI_ENTRY_POINT_H

#include "ri/current_context.h"
#include "ri/param_pairs.h"

// The interface fixes a float as the last named parameter of several
// varargs calls (RiSphere's thetamax, ...).  Clang warns that va_start after
// a promoted parameter is undefined in the language; its va_start, like
// GCC's, does not depend on that parameter, so the warning is silenced for
// the files that collect such calls.
#if defined(__clang__)
#pragma clang diagnostic ignored "-Wvarargs"
#endif

// The current context of the calling entry point, reported under the entry
// point's own name when there is none.
#define VELLUM_CONTEXT() (::vellum::requireContext(__func__))
// The calls that return a handle or token report a missing context without
// a call name.
#define VELLUM_CONTEXT_UNNAMED() (::vellum::requireContext(nullptr))
// The collected pairs as the last three arguments of a list form.
#define VELLUM_PAIR_ARGS(pairs) (pairs).n, (pairs).tokens, (pairs).parms

#endif
