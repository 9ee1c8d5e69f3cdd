// WorkMeter: what one input of a tool (a file named on its command line,
// or standard input, with everything that it reads) may make the tools do.
//
// Every loop whose length an input chooses charges one of the meter's
// accounts: the requests read or replayed, the bytes of archives read, the
// bytes that inline archives keep, the text that expressions
// and variables build, the preview's drawing work (triangles and what it
// costs to make them) and the samples it tests.  Each account's limit is a
// fixed allowance plus so much for each byte of the input itself read so
// far, so that a large file may do proportionally more while a small one
// that asks for much (a fan-out of archives, instances, long expressions)
// is stopped early: the work of an input stays in proportion to its size.
//
// The first charge past a limit spends the meter: from then on every
// charge fails, so that each loop stops where it is, and the reader ends
// the input with one error that says which limit was passed.
//
// A meter belongs to one input and is used from one thread.
#ifndef VELLUM_COMMON_WORK_METER_H
#define VELLUM_COMMON_WORK_METER_H

#include <array>
#include <cstdint>
#include <string>

namespace vellum {

class WorkMeter {
 public:
  enum Account : int {
    kRequests,       // requests read or replayed
    kArchiveBytes,   // bytes of archives read, files and inline archives alike
    kRecordedBytes,  // bytes inline archives keep (memory: given back when one is dropped)
    kText,           // bytes of text that expressions and variables build or match
    kDrawing,        // triangles drawn or kept, per light, and per primitive and instance
    kSamples,        // samples a picture clears and its triangles cover
  };
  static constexpr int kAccounts = 6;

  struct Limit {
    uint64_t base;          // allowed whatever the input's size
    uint64_t perInputByte;  // and for each byte of the input read
  };
  using Limits = std::array<Limit, kAccounts>;
  // The limits qview(1) gives.
  static const Limits kDefaultLimits;
  // The default limits but `account`'s, which is `limit`.
  static Limits defaultLimitsWith(Account account, Limit limit) {
    Limits limits = kDefaultLimits;
    limits[account] = limit;
    return limits;
  }

  WorkMeter() : WorkMeter(kDefaultLimits) {}
  explicit WorkMeter(const Limits &limits) : limits_(limits) {}

  // The bytes of the input itself read so far (decompressed; its archives
  // are not counted): they raise every limit.
  void setInputBytes(uint64_t bytes) { inputBytes_ = bytes; }

  // Charges `amount` to `account`.  False when the meter is spent, or is
  // spent by this charge: what was asked for is then not to be done.
  bool charge(Account account, uint64_t amount);
  // Gives back what was charged for memory that is free again (an inline
  // archive replaced by another of its name).
  void refund(Account account, uint64_t amount) {
    used_[account] -= amount < used_[account] ? amount : used_[account];
  }
  // What may still be charged to `account` (0 once the meter is spent).
  uint64_t left(Account account) const;

  bool spent() const { return spentAccount_ >= 0; }
  // The limit that was passed, as "more than N requests read or replayed";
  // "" while the meter is not spent.
  std::string spentMessage() const;

  uint64_t used(Account account) const { return used_[account]; }
  uint64_t limit(Account account) const;
  // What an account counts, in words: "requests read or replayed".
  static const char *accountName(Account account);

  // Nothing used, for a new input.
  void reset();

 private:
  Limits limits_;
  uint64_t inputBytes_ = 0;
  std::array<uint64_t, kAccounts> used_{};
  int spentAccount_ = -1;
  uint64_t spentLimit_ = 0;
};

}  // namespace vellum

#endif
