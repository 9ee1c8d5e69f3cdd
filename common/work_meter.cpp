#include "common/work_meter.h"

namespace vellum {

namespace {

constexpr uint64_t kMiB = uint64_t{1} << 20;

// a·b + c, or UINT64_MAX where that does not fit.
uint64_t saturatingMulAdd(uint64_t a, uint64_t b, uint64_t c) {
  if (a != 0 && b > (UINT64_MAX - c) / a) return UINT64_MAX;
  return a * b + c;
}

}  // namespace

// Chosen so that checking a 1 MB file, whatever it asks for, takes a
// second or two on one core (a request read or replayed costs about 0.2
// to 0.5 µs, an archive byte about 10 ns, a sample about 1 ns), while the
// requests and bytes a file holds itself never come near them.
const WorkMeter::Limits WorkMeter::kDefaultLimits = {{
    {2'000'000, 2},          // requests: a request takes at least 2 bytes of RIB
    {128 * kMiB, 32},        // archive bytes
    {256 * kMiB, 0},         // recorded bytes: memory, bounded whatever the input's size
    {32 * kMiB, 16},         // text
    {64'000'000, 64},        // drawing
    {uint64_t{1} << 32, 1024},  // samples: about 4 seconds of drawing
}};

bool WorkMeter::charge(Account account, uint64_t amount) {
  if (spent()) return false;
  const uint64_t most = limit(account);
  if (amount > most - used_[account]) {
    used_[account] = most;
    spentAccount_ = account;
    spentLimit_ = most;
    return false;
  }
  used_[account] += amount;
  return true;
}

uint64_t WorkMeter::left(Account account) const {
  if (spent()) return 0;
  const uint64_t most = limit(account);
  return most > used_[account] ? most - used_[account] : 0;
}

uint64_t WorkMeter::limit(Account account) const {
  const Limit &l = limits_[account];
  return saturatingMulAdd(l.perInputByte, inputBytes_, l.base);
}

const char *WorkMeter::accountName(Account account) {
  switch (account) {
    case kRequests: return "requests read or replayed";
    case kArchiveBytes: return "bytes of archives read";
    case kRecordedBytes: return "bytes kept by inline archives";
    case kText: return "bytes of text built by expressions and variables";
    case kDrawing: return "units of drawing work";
    case kSamples: return "samples drawn";
  }
  return "";
}

std::string WorkMeter::spentMessage() const {
  if (!spent()) return "";
  return "more than " + std::to_string(spentLimit_) + " " +
         accountName(static_cast<Account>(spentAccount_));
}

void WorkMeter::reset() {
  used_ = {};
  inputBytes_ = 0;
  spentAccount_ = -1;
  spentLimit_ = 0;
}

}  // namespace vellum
