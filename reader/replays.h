// How a checked request reaches its target's operation.  A row that says
// REPLAY is replayed generically: each of the operation's fixed parameters
// takes the next operand, converted by the parameter's type (a float, an
// integer, a boolean, a string, a filter or error handler by its name; an
// archive callback takes none), and a list form takes the request's
// parameter list.  A row that says OWN_REPLAY has a function of its own
// here, of the row's name.
#ifndef VELLUM_READER_REPLAYS_H
#define VELLUM_READER_REPLAYS_H

#include <array>
#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>

#include "common/name_tables.h"
#include "reader/request_checks.h"
#include "reader/request_table.h"

namespace vellum {

// An operand as a parameter of type T: `count` operands it takes, and its
// value.
template <typename T>
struct OperandAs;
template <>
struct OperandAs<RtFloat> {
  static constexpr size_t count = 1;
  static RtFloat get(Replay &r, size_t k) { return r.f(k); }
};
template <>
struct OperandAs<RtInt> {
  static constexpr size_t count = 1;
  static RtInt get(Replay &r, size_t k) { return r.i(k); }
};
template <>
struct OperandAs<RtBoolean> {
  static constexpr size_t count = 1;
  static RtBoolean get(Replay &r, size_t k) { return static_cast<RtBoolean>(r.i(k)); }
};
template <>
struct OperandAs<char *> {
  static constexpr size_t count = 1;
  static char *get(Replay &r, size_t k) { return r.s(k); }
};
template <>
struct OperandAs<RtFilterFunc> {
  static constexpr size_t count = 1;
  static RtFilterFunc get(Replay &r, size_t k) { return filterByName(r.s(k)); }
};
template <>
struct OperandAs<RtErrorHandler> {
  static constexpr size_t count = 1;
  static RtErrorHandler get(Replay &r, size_t k) { return errorHandlerByName(r.s(k)); }
};
template <>
struct OperandAs<RtProc2SubdivFunc> {
  static constexpr size_t count = 1;
  static RtProc2SubdivFunc get(Replay &r, size_t k) { return procedural2ByName(r.s(k)); }
};
template <>
struct OperandAs<RtProc2BoundFunc> {
  static constexpr size_t count = 1;
  static RtProc2BoundFunc get(Replay &r, size_t k) { return boundFunctionByName(r.s(k)); }
};
template <>
struct OperandAs<RtArchiveCallback> {
  static constexpr size_t count = 0;
  static RtArchiveCallback get(Replay &, size_t) { return nullptr; }
};

// The first operand of each parameter.
template <typename... P>
constexpr std::array<size_t, sizeof...(P)> firstOperands() {
  std::array<size_t, sizeof...(P)> first{};
  size_t at = 0, i = 0;
  ((first[i++] = at, at += OperandAs<P>::count), ...);
  static_cast<void>(at);  // unread after the last parameter, or without any
  static_cast<void>(i);
  return first;
}

// Calls `operation` with operands for its first sizeof...(I) parameters
// and, when it has more (a list form), the request's parameter list.
template <typename R, typename... P, size_t... I>
void callWithOperands(Replay &r, R (RenderContext::*operation)(P...), std::index_sequence<I...>) {
  using Types = std::tuple<P...>;
  constexpr auto first = firstOperands<std::tuple_element_t<I, Types>...>();
  if constexpr (sizeof...(I) == sizeof...(P))
    (r.target.*operation)(OperandAs<std::tuple_element_t<I, Types>>::get(r, first[I])...);
  else
    (r.target.*operation)(OperandAs<std::tuple_element_t<I, Types>>::get(r, first[I])..., r.n,
                          r.tokens, r.parms);
}

template <typename R, typename... P>
constexpr size_t parameterCount(R (RenderContext::*)(P...)) {
  return sizeof...(P);
}

// The replay of a PLAIN row's operation, and of a list form's (its last
// three parameters the list).
template <auto Operation>
void replayPlain(Replay &r) {
  callWithOperands(r, Operation, std::make_index_sequence<parameterCount(Operation)>());
}
template <auto Operation>
void replayList(Replay &r) {
  callWithOperands(r, Operation, std::make_index_sequence<parameterCount(Operation) - 3>());
}

// The check of a generic request: each parameter that names a function
// (a filter, an error handler, a procedural) must name one the library has, or the
// request is handed on as text.  Requests with a check of their own have
// no other.
template <typename T>
Verdict checkNamed(RequestChecker &checker, const RibRequest &request, size_t k) {
  const RibValue &name = request.operands[k];
  if constexpr (std::is_same_v<T, RtFilterFunc>)
    return checks::knownName(checker, filterByName(name.string.c_str()) != nullptr, "filter", name);
  else if constexpr (std::is_same_v<T, RtErrorHandler>)
    return checks::knownName(checker, errorHandlerByName(name.string.c_str()) != nullptr, "error handler",
                             name);
  else if constexpr (std::is_same_v<T, RtProc2SubdivFunc>)
    return checks::knownName(checker, procedural2ByName(name.string.c_str()) != nullptr, "procedural",
                             name);
  else if constexpr (std::is_same_v<T, RtProc2BoundFunc>)
    return checks::knownName(checker, boundFunctionByName(name.string.c_str()) != nullptr,
                             "bound function", name);
  else
    return Verdict::kReplay;
}

template <typename R, typename... P, size_t... I>
Verdict checkNames(RequestChecker &checker, RibRequest &request, R (RenderContext::*)(P...),
                   std::index_sequence<I...>) {
  using Types = std::tuple<P...>;
  constexpr auto first = firstOperands<std::tuple_element_t<I, Types>...>();
  static_cast<void>(first);  // unread without parameters
  Verdict verdict = Verdict::kReplay;
  ((verdict = verdict == Verdict::kReplay
                  ? checkNamed<std::tuple_element_t<I, Types>>(checker, request, first[I])
                  : verdict),
   ...);
  return verdict;
}

template <auto Operation, bool List>
Verdict checkNames(RequestChecker &checker, RibRequest &request) {
  return checkNames(checker, request, Operation,
                    std::make_index_sequence<parameterCount(Operation) - (List ? 3 : 0)>());
}

namespace replays {
#define VELLUM_DECLARE_OWN_REPLAY_OWN_REPLAY(Name) void Name(Replay &r);
#define VELLUM_DECLARE_OWN_REPLAY_REPLAY(Name)
#define VELLUM_DECLARE_OWN_REPLAY_NONE(Name)
#define VELLUM_DECLARE_OWN_REPLAY(Name, form, R, Params, Args, operands, counts, check, flags, entry, text, \
                                  replay, ...)                                                           \
  VELLUM_DECLARE_OWN_REPLAY_##replay(Name)
VELLUM_REQUESTS(VELLUM_DECLARE_OWN_REPLAY)
#undef VELLUM_DECLARE_OWN_REPLAY
}  // namespace replays

}  // namespace vellum

#endif
