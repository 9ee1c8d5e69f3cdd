#include "reader/sequence_alignment.h"

#include <algorithm>
#include <unordered_map>

namespace vellum {

namespace {

// The most steps Myers' search may take in one part: beyond it the part is
// taken as replaced, so that two large streams with nothing in common cost
// no more than reading them.
constexpr size_t kMostSearchSteps = size_t{1} << 27;

class Aligner {
 public:
  Aligner(const std::vector<uint64_t> &a, const std::vector<uint64_t> &b) : a_(a), b_(b) {}

  std::vector<AlignedRun> run() {
    // Parts to align and runs to keep, in order: the last pushed is done
    // first, so a part pushes what follows it before what precedes it.
    tasks_.push_back({Task::kAlign, 0, a_.size(), 0, b_.size()});
    while (!tasks_.empty()) {
      const Task task = tasks_.back();
      tasks_.pop_back();
      if (task.kind == Task::kKeep) push(AlignedRun::kKept, task.a0, task.b0, task.a1 - task.a0);
      else align(task.a0, task.a1, task.b0, task.b1);
    }
    return runs_;
  }

 private:
  struct Task {
    enum Kind { kAlign, kKeep } kind;
    size_t a0, a1, b0, b1;  // kKeep: a0..a1 kept, starting at b0
  };

  void push(AlignedRun::Kind kind, size_t a, size_t b, size_t count) {
    if (count == 0) return;
    if (!runs_.empty()) {
      AlignedRun &last = runs_.back();
      if (last.kind == kind && last.a + (kind == AlignedRun::kAdded ? 0 : last.count) == a &&
          last.b + (kind == AlignedRun::kRemoved ? 0 : last.count) == b) {
        last.count += count;
        return;
      }
    }
    runs_.push_back({kind, a, b, count});
  }

  void replace(size_t a0, size_t a1, size_t b0, size_t b1) {
    push(AlignedRun::kRemoved, a0, b0, a1 - a0);
    push(AlignedRun::kAdded, a1, b0, b1 - b0);
  }

  void align(size_t a0, size_t a1, size_t b0, size_t b1) {
    size_t prefix = 0;
    while (a0 + prefix < a1 && b0 + prefix < b1 && a_[a0 + prefix] == b_[b0 + prefix]) ++prefix;
    push(AlignedRun::kKept, a0, b0, prefix);
    a0 += prefix;
    b0 += prefix;
    size_t suffix = 0;
    while (a1 - suffix > a0 && b1 - suffix > b0 && a_[a1 - suffix - 1] == b_[b1 - suffix - 1]) ++suffix;
    a1 -= suffix;
    b1 -= suffix;
    if (suffix > 0) tasks_.push_back({Task::kKeep, a1, a1 + suffix, b1, b1 + suffix});
    if (a0 == a1 || b0 == b1) return replace(a0, a1, b0, b1);
    const std::vector<std::pair<size_t, size_t>> anchors = uniqueAnchors(a0, a1, b0, b1);
    if (anchors.empty()) return myers(a0, a1, b0, b1);
    // The parts between anchors, last first.
    size_t nextA = a1, nextB = b1;
    for (auto anchor = anchors.rbegin(); anchor != anchors.rend(); ++anchor) {
      tasks_.push_back({Task::kAlign, anchor->first + 1, nextA, anchor->second + 1, nextB});
      tasks_.push_back({Task::kKeep, anchor->first, anchor->first + 1, anchor->second, anchor->second + 1});
      nextA = anchor->first;
      nextB = anchor->second;
    }
    tasks_.push_back({Task::kAlign, a0, nextA, b0, nextB});
  }

  // The pairs (i, j) of keys that occur once in a[a0, a1) and once in
  // b[b0, b1), the longest run of them increasing in both.
  std::vector<std::pair<size_t, size_t>> uniqueAnchors(size_t a0, size_t a1, size_t b0, size_t b1) {
    struct Seen {
      size_t inA = 0, inB = 0, atA = 0, atB = 0;
    };
    std::unordered_map<uint64_t, Seen> seen;
    seen.reserve((a1 - a0) + (b1 - b0));
    for (size_t i = a0; i < a1; ++i) {
      Seen &s = seen[a_[i]];
      ++s.inA;
      s.atA = i;
    }
    for (size_t j = b0; j < b1; ++j) {
      auto found = seen.find(b_[j]);
      if (found == seen.end()) continue;
      ++found->second.inB;
      found->second.atB = j;
    }
    std::vector<std::pair<size_t, size_t>> pairs;
    for (size_t i = a0; i < a1; ++i) {
      const Seen &s = seen[a_[i]];
      if (s.inA == 1 && s.inB == 1) pairs.emplace_back(i, s.atB);
    }
    // Patience sorting: the longest subsequence increasing in b.
    std::vector<size_t> tails, before(pairs.size());
    for (size_t k = 0; k < pairs.size(); ++k) {
      const auto at = std::lower_bound(tails.begin(), tails.end(), pairs[k].second,
                                       [&](size_t t, size_t value) { return pairs[t].second < value; });
      before[k] = at == tails.begin() ? SIZE_MAX : *(at - 1);
      if (at == tails.end()) tails.push_back(k);
      else *at = k;
    }
    std::vector<std::pair<size_t, size_t>> anchors;
    for (size_t k = tails.empty() ? SIZE_MAX : tails.back(); k != SIZE_MAX; k = before[k])
      anchors.push_back(pairs[k]);
    std::reverse(anchors.begin(), anchors.end());
    return anchors;
  }

  // Myers' greedy search for the shortest edit script, within its bounds;
  // a part that needs more is replaced whole.
  void myers(size_t a0, size_t a1, size_t b0, size_t b1) {
    const long n = static_cast<long>(a1 - a0), m = static_cast<long>(b1 - b0);
    const long most = static_cast<long>(
        std::min<size_t>({kMostEdits, static_cast<size_t>(n + m), kMostSearchSteps / static_cast<size_t>(n + m)}));
    const long offset = most + 1;
    std::vector<long> v(static_cast<size_t>(2 * offset + 1), 0);
    std::vector<std::vector<long>> trace;
    long found = -1;
    for (long d = 0; d <= most && found < 0; ++d) {
      trace.emplace_back(v.begin() + (offset - d), v.begin() + (offset + d + 1));
      for (long k = -d; k <= d; k += 2) {
        long x = (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1])) ? v[offset + k + 1]
                                                                              : v[offset + k - 1] + 1;
        long y = x - k;
        while (x < n && y < m && a_[a0 + x] == b_[b0 + y]) ++x, ++y;
        v[offset + k] = x;
        if (x >= n && y >= m) {
          found = d;
          break;
        }
      }
    }
    if (found < 0) return replace(a0, a1, b0, b1);
    // Back from the end: each step is a snake after one removal or addition.
    struct Step {
      long x, y;
      AlignedRun::Kind kind;
    };
    std::vector<Step> steps;
    long x = n, y = m;
    for (long d = found; d > 0; --d) {
      // trace[d] holds v[-d..d] as it was before step d: diagonal q at q + d.
      const std::vector<long> &before = trace[static_cast<size_t>(d)];
      auto vBefore = [&](long q) { return before[static_cast<size_t>(q + d)]; };
      const long k = x - y;
      const bool down = k == -d || (k != d && vBefore(k - 1) < vBefore(k + 1));
      const long previousK = down ? k + 1 : k - 1;
      const long previousX = vBefore(previousK), previousY = previousX - previousK;
      const long startX = down ? previousX : previousX + 1, startY = startX - k;
      // The snake from (startX, startY) to (x, y) is kept; taken backwards,
      // the edit before it comes out first.
      steps.push_back({x, y, AlignedRun::kKept});
      steps.push_back({startX, startY, down ? AlignedRun::kAdded : AlignedRun::kRemoved});
      x = previousX;
      y = previousY;
    }
    // From (0, 0) to (x, y): the first snake.
    size_t atA = a0, atB = b0;
    push(AlignedRun::kKept, atA, atB, static_cast<size_t>(x));
    atA += static_cast<size_t>(x);
    atB += static_cast<size_t>(y);
    for (auto step = steps.rbegin(); step != steps.rend(); step += 2) {
      const Step &edit = *step, &snakeEnd = *(step + 1);
      if (edit.kind == AlignedRun::kRemoved) {
        push(AlignedRun::kRemoved, atA, atB, 1);
        ++atA;
      } else {
        push(AlignedRun::kAdded, atA, atB, 1);
        ++atB;
      }
      const size_t snake = static_cast<size_t>(snakeEnd.x) - (atA - a0);
      push(AlignedRun::kKept, atA, atB, snake);
      atA += snake;
      atB += snake;
    }
  }

  const std::vector<uint64_t> &a_;
  const std::vector<uint64_t> &b_;
  std::vector<Task> tasks_;
  std::vector<AlignedRun> runs_;
};

}  // namespace

std::vector<AlignedRun> alignSequences(const std::vector<uint64_t> &a, const std::vector<uint64_t> &b) {
  return Aligner(a, b).run();
}

}  // namespace vellum
