// The reader's table, one row for each request of the request list.
#include "reader/request_table.h"

#include <string_view>
#include <unordered_map>

#include "reader/count_rules.h"
#include "reader/replays.h"
#include "reader/request_checks.h"

namespace vellum {

namespace {

// What a row's form adds to its flags, and how it is replayed.
#define VELLUM_FORM_FLAGS_PLAIN(flags) 0
#define VELLUM_FORM_FLAGS_VARARGS(flags) 0
#define VELLUM_FORM_FLAGS_LIST(flags) kParameters
#define VELLUM_FORM_FLAGS_LIST_V_FIRST(flags) kParameters
#define VELLUM_FORM_FLAGS_RIB_ONLY(flags) \
  ((((flags) & kNotReplayed) ? 0u : kNoEntryPoint) | (((flags) & kLooseParameters) ? kParameters : 0u))
#define VELLUM_REPLAY_REPLAY(form, Name) VELLUM_GENERIC_REPLAY_##form(Name)
#define VELLUM_REPLAY_OWN_REPLAY(form, Name) &replays::Name
#define VELLUM_REPLAY_NONE(form, Name) nullptr
#define VELLUM_GENERIC_REPLAY_PLAIN(Name) &replayPlain<&RenderContext::Name>
#define VELLUM_GENERIC_REPLAY_LIST(Name) &replayList<&RenderContext::Name##V>
#define VELLUM_GENERIC_REPLAY_LIST_V_FIRST(Name) &replayList<&RenderContext::Name##V>
// A generic request without a check of its own has the check of the
// names among its parameters.
#define VELLUM_CHECK_REPLAY(form, Name, Check) VELLUM_CHECK_GENERIC_##form(Name, Check)
#define VELLUM_CHECK_OWN_REPLAY(form, Name, Check) checks::Check
#define VELLUM_CHECK_NONE(form, Name, Check) checks::Check
#define VELLUM_CHECK_GENERIC_PLAIN(Name, Check) \
  (checks::Check != nullptr ? checks::Check : &checkNames<&RenderContext::Name, false>)
#define VELLUM_CHECK_GENERIC_LIST(Name, Check) \
  (checks::Check != nullptr ? checks::Check : &checkNames<&RenderContext::Name##V, true>)
#define VELLUM_CHECK_GENERIC_LIST_V_FIRST VELLUM_CHECK_GENERIC_LIST
#define VELLUM_TABLE_ROW(Name, form, R, Params, Args, operands, Counts, Check, flags, entry, text, replay, \
                         preview)                                                                        \
  {((flags) & kNoKeyword) ? nullptr : #Name, operands, (flags) | VELLUM_FORM_FLAGS_##form(flags),         \
   counts::Counts, VELLUM_CHECK_##replay(form, Name, Check), VELLUM_REPLAY_##replay(form, Name)},

const RequestRow kRequests[] = {VELLUM_REQUESTS(VELLUM_TABLE_ROW)};

}  // namespace

char **Replay::strings(size_t i) {
  stringOperands.emplace_back();
  std::vector<char *> &pointers = stringOperands.back();
  for (const std::string &text : op(i).strings) pointers.push_back(const_cast<char *>(text.c_str()));
  return pointers.data();
}

const RequestRow *findRequest(const std::string &name) {
  static const std::unordered_map<std::string_view, const RequestRow *> byName = [] {
    std::unordered_map<std::string_view, const RequestRow *> map;
    for (const RequestRow &row : kRequests)
      if (row.name != nullptr) map.emplace(row.name, &row);
    return map;
  }();
  auto found = byName.find(name);
  return found != byName.end() ? found->second : nullptr;
}

}  // namespace vellum
