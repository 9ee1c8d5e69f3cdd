// The methods of Ri made from the request list: every request whose
// parameters are numbers, strings, names of predefined functions and
// handles is bound from its row, each argument converted by its C type, a
// list form's parameter list checked by the row's count rule.  The other
// requests are bound by hand (VELLUM_PY_OWN); a new row that this cannot
// bind stops the build.
#include <array>
#include <tuple>
#include <type_traits>
#include <utility>

#include "binding.h"
#include "rib/rib_writer.h"
#include "rib/writer_counts.h"

namespace vellum::python {

namespace {

constexpr bool isOwn(Call call) {
#define VELLUM_PY_OWN_CALL(Name) Call::Name,
  constexpr Call kOwn[] = {VELLUM_PY_OWN(VELLUM_PY_OWN_CALL)};
  for (Call own : kOwn)
    if (own == call) return true;
  return false;
}

template <typename T>
constexpr bool kNeedsABindingOfItsOwn = false;

// A C parameter from a Python argument: whether it takes one, its type in
// the stubs, and the conversion.
template <typename T>
struct Arg {
  static_assert(kNeedsABindingOfItsOwn<T>, "a parameter of this type needs a binding of its own");
};
template <>
struct Arg<RtFloat> {
  static constexpr bool consumes = true;
  static constexpr const char *type = "float";
  static RtFloat from(py::handle h, const Where &w) { return toFloat(h, w); }
};
template <>
struct Arg<RtInt> {
  static constexpr bool consumes = true;
  static constexpr const char *type = "int";
  static RtInt from(py::handle h, const Where &w) { return toInt(h, w); }
};
template <>
struct Arg<RtBoolean> {
  static constexpr bool consumes = true;
  static constexpr const char *type = "bool | int";
  static RtBoolean from(py::handle h, const Where &w) { return toBoolean(h, w); }
};
template <>
struct Arg<char *> {
  static constexpr bool consumes = true;
  static constexpr const char *type = "str | None";
  static char *from(py::handle h, const Where &w) { return toString(h, w); }
};
template <>
struct Arg<RtFilterFunc> {
  static constexpr bool consumes = true;
  static constexpr const char *type = "Function | str";
  static RtFilterFunc from(py::handle h, const Where &w) { return toFilter(h, w); }
};
template <>
struct Arg<RtErrorHandler> {
  static constexpr bool consumes = true;
  static constexpr const char *type = "Function | str";
  static RtErrorHandler from(py::handle h, const Where &w) { return toErrorHandler(h, w); }
};
template <>
struct Arg<RtProc2SubdivFunc> {
  static constexpr bool consumes = true;
  static constexpr const char *type = "Function | str";
  static RtProc2SubdivFunc from(py::handle h, const Where &w) { return toProcedural2(h, w); }
};
template <>
struct Arg<RtProc2BoundFunc> {
  static constexpr bool consumes = true;
  static constexpr const char *type = "Function | str";
  static RtProc2BoundFunc from(py::handle h, const Where &w) { return toBoundFunction(h, w); }
};
// Light and object handles.
template <>
struct Arg<void *> {
  static constexpr bool consumes = true;
  static constexpr const char *type = "Handle";
  static void *from(py::handle h, const Where &w) { return toHandle(h, w); }
};
// Archive callbacks are never called: the method has no argument for one.
template <>
struct Arg<RtArchiveCallback> {
  static constexpr bool consumes = false;
  static constexpr const char *type = "";
  static RtArchiveCallback from(py::handle, const Where &) { return nullptr; }
};

// What a method returns for each C result.
template <typename R>
struct Result;
template <>
struct Result<void> {
  static constexpr const char *type = "None";
};
template <>
struct Result<char *> {
  static constexpr const char *type = "str";
  static py::object wrap(char *token) { return token != nullptr ? py::object(py::str(token)) : py::object(py::none()); }
};
template <>
struct Result<void *> {
  static constexpr const char *type = "Handle";
  static py::object wrap(void *handle, const char *name) {
    return handleObject(handle, std::string(name) == "ObjectBegin" ? "object" : "light");
  }
};

// The count rules that follow from the fixed arguments alone.
struct NoRule {
  template <typename... A>
  static std::optional<PrimitiveCounts> of(const A &...) {
    return std::nullopt;
  }
};
struct QuadricRule {
  template <typename... A>
  static std::optional<PrimitiveCounts> of(const A &...) {
    return quadricCounts();
  }
};
struct OneOfEachRule {
  template <typename... A>
  static std::optional<PrimitiveCounts> of(const A &...) {
    return oneOfEachCounts();
  }
};
struct PatchRule {
  static std::optional<PrimitiveCounts> of(char *type) { return writerCounts::Patch(type); }
};
struct OwnRule {};
#define VELLUM_PY_RULE_NoCounts NoRule
#define VELLUM_PY_RULE_Quadric QuadricRule
#define VELLUM_PY_RULE_OneOfEach OneOfEachRule
#define VELLUM_PY_RULE_Patch PatchRule
#define VELLUM_PY_RULE_Positions OwnRule
#define VELLUM_PY_RULE_GeneralPolygon OwnRule
#define VELLUM_PY_RULE_PointsPolygons OwnRule
#define VELLUM_PY_RULE_PointsGeneralPolygons OwnRule
#define VELLUM_PY_RULE_PatchMesh OwnRule
#define VELLUM_PY_RULE_NuPatch OwnRule
#define VELLUM_PY_RULE_Curves OwnRule
#define VELLUM_PY_RULE_SubdivisionMesh OwnRule
#define VELLUM_PY_RULE_Blobby OwnRule
#define VELLUM_PY_RULE_Volume OwnRule

// The names of a row's arguments, from its "(a, b, c)" text; they live as
// long as the module.
std::vector<const char *> argumentNames(const char *text) {
  static std::deque<std::string> kept;
  std::vector<const char *> names;
  std::string name;
  for (const char *p = text; *p != '\0'; ++p) {
    if (*p == '(' || *p == ' ') continue;
    if (*p == ',' || *p == ')') {
      if (!name.empty()) names.push_back(kept.emplace_back(name).c_str());
      name.clear();
    } else {
      name.push_back(*p);
    }
  }
  return names;
}

template <size_t>
using PyArg = py::handle;

constexpr size_t kNoArgument = ~size_t{0};

template <typename Rule, bool List, typename R, typename... P, size_t... C, size_t... J>
void bindGeneric(RiClass &cls, const char *name, R (RenderContext::*op)(P...), const char *argText,
                 std::index_sequence<C...>, std::index_sequence<J...>) {
  using Fixed = std::tuple<std::tuple_element_t<C, std::tuple<P...>>...>;
  // The Python argument of each fixed C parameter, or none.
  static constexpr std::array<size_t, sizeof...(C)> pythonIndex = [] {
    std::array<size_t, sizeof...(C)> index{};
    size_t next = 0;
    ((index[C] = Arg<std::tuple_element_t<C, Fixed>>::consumes ? next++ : kNoArgument), ...);
    static_cast<void>(next);
    return index;
  }();
  static_cast<void>(pythonIndex);  // unread without fixed parameters
  const std::vector<const char *> cNames = argumentNames(argText);
  std::vector<const char *> names;
  std::string stub;
  ((Arg<std::tuple_element_t<C, Fixed>>::consumes
        ? (names.push_back(cNames[C]),
           stub += std::string(stub.empty() ? "" : ", ") + cNames[C] + ": " + Arg<std::tuple_element_t<C, Fixed>>::type)
        : stub),
   ...);
  if constexpr (List) stub += std::string(stub.empty() ? "" : ", ") + "params: Params | None = None";

  auto invoke = [op, name, names](PyRi &self, const std::array<py::handle, sizeof...(J)> &handles,
                           py::handle params) -> py::object {
    RibWriter &context = self.context(name);
    static_cast<void>(handles);
    Fixed args{Arg<std::tuple_element_t<C, Fixed>>::from(
        pythonIndex[C] == kNoArgument ? py::handle() : handles[pythonIndex[C]],
        Where{name, pythonIndex[C] == kNoArgument ? "" : names[pythonIndex[C]]})...};
    auto call = [&]() -> R {
      if constexpr (List) {
        const std::optional<PrimitiveCounts> counts =
            std::apply([](const auto &...a) { return Rule::of(a...); }, args);
        ParamList list(self.environment, name, params);
        list.check(counts ? &*counts : nullptr);
        DiagnosticScope scope(self);
        if constexpr (std::is_void_v<R>) {
          withoutGil([&] { (context.*op)(std::get<C>(args)..., list.n(), list.tokens(), list.parms()); });
          scope.deliver();
        } else {
          R result = withoutGil([&] { return (context.*op)(std::get<C>(args)..., list.n(), list.tokens(), list.parms()); });
          scope.deliver();
          return result;
        }
      } else {
        static_cast<void>(params);
        DiagnosticScope scope(self);
        if constexpr (std::is_void_v<R>) {
          withoutGil([&] { (context.*op)(std::get<C>(args)...); });
          scope.deliver();
        } else {
          R result = withoutGil([&] { return (context.*op)(std::get<C>(args)...); });
          scope.deliver();
          return result;
        }
      }
    };
    if constexpr (std::is_void_v<R>) {
      call();
      return py::none();
    } else if constexpr (std::is_same_v<R, char *>) {
      return Result<R>::wrap(call());
    } else {
      return Result<R>::wrap(call(), name);
    }
  };
  const char *doc = stubDoc({name, stub, Result<R>::type,
                             std::string("Writes the request ") + name + " (Ri" + name +
                                 " of the C interface; ri.h says what it writes)." +
                                 (std::is_same_v<R, void *> ? "  Returns the handle that "
                                                              "Illuminate or ObjectInstance takes."
                                  : std::is_same_v<R, char *> ? "  Returns the name as declared."
                                                              : "") +
                                 (List ? "  `params`: the parameter list, a dict of values keyed by "
                                         "declared names or inline declarations."
                                       : "")});
  if constexpr (List)
    cls.def(
        name, [invoke](PyRi &self, PyArg<J>... a, py::handle params) { return invoke(self, {a...}, params); },
        py::arg(names[J])..., py::arg("params") = py::none(), doc);
  else
    cls.def(
        name, [invoke](PyRi &self, PyArg<J>... a) { return invoke(self, {a...}, py::handle()); },
        py::arg(names[J])..., doc);
}

template <typename... T>
constexpr size_t consumedCount() {
  return ((Arg<T>::consumes ? 1 : 0) + ... + 0);
}

template <typename Rule, bool List, typename R, typename... P, size_t... C>
void bindFixed(RiClass &cls, const char *name, R (RenderContext::*op)(P...), const char *argText,
               std::index_sequence<C...> fixed) {
  constexpr size_t consumed = consumedCount<std::tuple_element_t<C, std::tuple<P...>>...>();
  bindGeneric<Rule, List>(cls, name, op, argText, fixed, std::make_index_sequence<consumed>());
}

template <Call K, typename Rule, bool List, typename R, typename... P>
void bindRow(RiClass &cls, const char *name, R (RenderContext::*op)(P...), const char *argText) {
  if constexpr (!isOwn(K)) {
    static_assert(!std::is_same_v<Rule, OwnRule>, "this request's count rule needs a binding of its own");
    bindFixed<Rule, List>(cls, name, op, argText, std::make_index_sequence<sizeof...(P) - (List ? 3 : 0)>());
  }
}

#define VELLUM_PY_BIND_PLAIN(Name, Counts, Args) \
  bindRow<Call::Name, VELLUM_PY_RULE_##Counts, false>(cls, #Name, &RenderContext::Name, #Args);
#define VELLUM_PY_BIND_LIST(Name, Counts, Args) \
  bindRow<Call::Name, VELLUM_PY_RULE_##Counts, true>(cls, #Name, &RenderContext::Name##V, #Args);
#define VELLUM_PY_BIND_LIST_V_FIRST VELLUM_PY_BIND_LIST
#define VELLUM_PY_BIND_VARARGS(Name, Counts, Args) \
  static_assert(isOwn(Call::Name), "a varargs request needs a binding of its own");
#define VELLUM_PY_BIND_RIB_ONLY(Name, Counts, Args)
#define VELLUM_PY_BIND(Name, form, R, Params, Args, operands, Counts, ...) \
  VELLUM_PY_BIND_##form(Name, Counts, Args)

}  // namespace

void bindGenericMethods(RiClass &cls) { VELLUM_REQUESTS(VELLUM_PY_BIND) }

}  // namespace vellum::python
