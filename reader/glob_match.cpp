#include "reader/glob_match.h"

#include <algorithm>
#include <bitset>
#include <vector>

namespace vellum {

namespace {

// One byte of the text that the pattern stands for.
struct Atom {
  enum Kind : uint8_t { kByte, kAnyByte, kClass };
  Kind kind;
  unsigned char byte;     // of kByte
  uint32_t classIndex;    // of kClass
};

using ByteClass = std::bitset<256>;

// A pattern compiled to atoms, split at its stars into pieces, and matched;
// every loop spends steps first and stops once they run out.
class Glob {
 public:
  explicit Glob(uint64_t mostSteps) : mostSteps_(mostSteps) {}

  GlobMatch match(std::string_view pattern, std::string_view text) {
    GlobMatch result;
    result.matched = compile(pattern) && matches(text);
    result.finished = !over_;
    if (over_) result.matched = false;
    result.steps = steps_;
    return result;
  }

 private:
  bool spend(uint64_t steps) {
    if (over_ || steps > mostSteps_ - steps_) {
      over_ = true;
      return false;
    }
    steps_ += steps;
    return true;
  }

  // The pattern's atoms and where its pieces begin; false when the steps
  // ran out.
  bool compile(std::string_view pattern) {
    pieceStarts_.push_back(0);
    // Once a "[" is found unclosed, no later one can be closed either (the
    // rest of the pattern has no "]" that could close it), so each byte is
    // looked at a bounded number of times.
    bool unclosed = false;
    size_t at = 0;
    while (at < pattern.size()) {
      if (!spend(1)) return false;
      unsigned char c = static_cast<unsigned char>(pattern[at]);
      if (c == '*') {
        pieceStarts_.push_back(atoms_.size());
        ++at;
        continue;
      }
      if (c == '?') {
        atoms_.push_back({Atom::kAnyByte, 0, 0});
        ++at;
        continue;
      }
      if (c == '[' && !unclosed) {
        const size_t close = classEnd(pattern, at);
        if (over_) return false;
        if (close != std::string_view::npos) {
          if (!compileClass(pattern.substr(at + 1, close - at - 1))) return false;
          at = close + 1;
          continue;
        }
        unclosed = true;
      }
      if (c == '\\' && at + 1 < pattern.size()) c = static_cast<unsigned char>(pattern[++at]);
      atoms_.push_back({Atom::kByte, c, 0});
      ++at;
    }
    return true;
  }

  // Where the class that begins at `open` ends: the first "]" that is not
  // its first byte nor escaped; npos when there is none.
  size_t classEnd(std::string_view pattern, size_t open) {
    size_t at = open + 1;
    if (at < pattern.size() && (pattern[at] == '!' || pattern[at] == '^')) ++at;
    const size_t first = at;
    while (at < pattern.size()) {
      if (!spend(1)) return std::string_view::npos;
      if (pattern[at] == ']' && at != first) return at;
      at += pattern[at] == '\\' && at + 1 < pattern.size() ? 2 : 1;
    }
    return std::string_view::npos;
  }

  // The bytes between "[" and "]".
  bool compileClass(std::string_view inside) {
    ByteClass bytes;
    size_t at = 0;
    const bool negated = !inside.empty() && (inside[0] == '!' || inside[0] == '^');
    if (negated) ++at;
    const auto next = [&] {
      if (inside[at] == '\\' && at + 1 < inside.size()) ++at;
      return static_cast<unsigned char>(inside[at++]);
    };
    while (at < inside.size()) {
      const unsigned char low = next();
      unsigned char high = low;
      if (at + 1 < inside.size() && inside[at] == '-') {
        ++at;
        high = next();
      }
      if (low <= high) {
        if (!spend(high - low + 1u)) return false;
        for (unsigned b = low; b <= high; ++b) bytes.set(b);
      }
    }
    if (negated) bytes.flip();
    atoms_.push_back({Atom::kClass, 0, static_cast<uint32_t>(classes_.size())});
    classes_.push_back(bytes);
    return true;
  }

  bool atomMatches(const Atom &atom, unsigned char c) const {
    switch (atom.kind) {
      case Atom::kByte: return atom.byte == c;
      case Atom::kAnyByte: return true;
      case Atom::kClass: return classes_[atom.classIndex].test(c);
    }
    return false;
  }

  size_t pieceBegin(size_t piece) const { return pieceStarts_[piece]; }
  size_t pieceEnd(size_t piece) const {
    return piece + 1 < pieceStarts_.size() ? pieceStarts_[piece + 1] : atoms_.size();
  }

  // The atoms [first, last) against the text from `at` on.
  bool matchesAt(size_t first, size_t last, std::string_view text, size_t at) {
    for (size_t i = first; i < last; ++i, ++at) {
      if (!spend(1)) return false;
      if (!atomMatches(atoms_[i], static_cast<unsigned char>(text[at]))) return false;
    }
    return true;
  }

  bool matches(std::string_view text) {
    const size_t pieces = pieceStarts_.size();
    if (pieces == 1) return atoms_.size() == text.size() && matchesAt(0, atoms_.size(), text, 0);
    if (atoms_.size() > text.size()) return false;
    const size_t lastLength = pieceEnd(pieces - 1) - pieceBegin(pieces - 1);
    if (!matchesAt(0, pieceEnd(0), text, 0) ||
        !matchesAt(pieceBegin(pieces - 1), atoms_.size(), text, text.size() - lastLength))
      return false;
    size_t at = pieceEnd(0);
    const size_t end = text.size() - lastLength;
    for (size_t piece = 1; piece + 1 < pieces; ++piece) {
      if (pieceBegin(piece) == pieceEnd(piece)) continue;
      const size_t found = find(piece, text, at, end);
      if (found == std::string_view::npos) return false;
      at = found + (pieceEnd(piece) - pieceBegin(piece));
    }
    return true;
  }

  // Sets (or clears) the bits of the piece's atoms in the table.
  bool mark(size_t piece, bool set) {
    for (size_t i = pieceBegin(piece); i < pieceEnd(piece); ++i) {
      const size_t bit = i - pieceBegin(piece);
      const uint64_t mask = uint64_t{1} << (bit % 64);
      const auto apply = [&](uint64_t &word) { word = set ? word | mask : word & ~mask; };
      const Atom &atom = atoms_[i];
      if (atom.kind == Atom::kClass) {
        if (!spend(256)) return false;
        const ByteClass &bytes = classes_[atom.classIndex];
        for (unsigned c = 0; c < 256; ++c)
          if (bytes.test(c)) apply(table_[c * tableWords_ + bit / 64]);
      } else {
        if (!spend(1)) return false;
        apply(atom.kind == Atom::kByte ? table_[atom.byte * tableWords_ + bit / 64] : anyByte_[bit / 64]);
      }
    }
    return true;
  }

  // The leftmost place in text[from, to) where the piece matches: a
  // shift-and search, bit k of the state saying that the piece's first
  // k + 1 atoms match the bytes just read.
  size_t find(size_t piece, std::string_view text, size_t from, size_t to) {
    const size_t length = pieceEnd(piece) - pieceBegin(piece);
    if (to - from < length) return std::string_view::npos;
    const size_t words = (length + 63) / 64;
    if (words > tableWords_) {
      if (!spend(256 * words)) return std::string_view::npos;
      tableWords_ = words;
      table_.assign(256 * words, 0);  // all clear: each piece clears what it marked
      anyByte_.assign(words, 0);
      state_.resize(words);
    }
    if (!mark(piece, true)) return std::string_view::npos;
    std::fill(state_.begin(), state_.begin() + words, 0);
    const size_t lastWord = (length - 1) / 64;
    const uint64_t lastBit = uint64_t{1} << ((length - 1) % 64);
    size_t found = std::string_view::npos;
    for (size_t at = from; at < to; ++at) {
      if (!spend(words)) return std::string_view::npos;
      const uint64_t *row = &table_[static_cast<unsigned char>(text[at]) * tableWords_];
      uint64_t carry = 1;  // a match may begin at every byte
      for (size_t w = 0; w < words; ++w) {
        const uint64_t shifted = state_[w] << 1 | carry;
        carry = state_[w] >> 63;
        state_[w] = shifted & (row[w] | anyByte_[w]);
      }
      if (state_[lastWord] & lastBit) {
        found = at + 1 - length;
        break;
      }
    }
    if (!mark(piece, false)) return std::string_view::npos;
    return found;
  }

  const uint64_t mostSteps_;
  uint64_t steps_ = 0;
  bool over_ = false;
  std::vector<Atom> atoms_;
  std::vector<ByteClass> classes_;
  std::vector<size_t> pieceStarts_;  // the atom each piece begins at
  // The search's table: for each byte, the atoms of the piece it matches
  // (a bit each, tableWords_ words a byte); anyByte_ the piece's "?"s.
  size_t tableWords_ = 0;
  std::vector<uint64_t> table_;
  std::vector<uint64_t> anyByte_;
  std::vector<uint64_t> state_;
};

}  // namespace

GlobMatch matchGlob(std::string_view pattern, std::string_view text, uint64_t mostSteps) {
  return Glob(mostSteps).match(pattern, text);
}

}  // namespace vellum
