#include "fuzz/rib_bombs.h"

namespace vellum::bombs {

namespace {

std::string repeat(const std::string &text, size_t times) {
  std::string all;
  all.reserve(text.size() * times);
  for (size_t i = 0; i < times; ++i) all += text;
  return all;
}

std::string quoted(const std::string &text) { return "\"" + text + "\""; }

const std::string kSphere = "Sphere 1 -1 1 360\n";

std::string userValue(const std::string &name, const std::string &value) {
  return "Option \"user\" \"string " + name + "\" [" + quoted(value) + "]\n";
}

// `levels` inline archives "name1".. each reading the one before `fanOut`
// times, the first reading `first`; then the last is read once.
std::string inlineLevels(const std::string &name, const std::string &first, int fanOut, int levels) {
  std::string rib;
  std::string below = first;
  for (int k = 1; k <= levels; ++k) {
    const std::string level = name + std::to_string(k);
    rib += "ArchiveBegin " + quoted(level) + "\n" +
           repeat("ReadArchive " + quoted(below) + "\n", static_cast<size_t>(fanOut)) + "ArchiveEnd\n";
    below = level;
  }
  return rib + "ReadArchive " + quoted(below) + "\n";
}

}  // namespace

const char *kindName(Kind kind) {
  switch (kind) {
    case Kind::kArchiveFanOut: return "archive fan-out";
    case Kind::kInlineFanOut: return "inline archive fan-out";
    case Kind::kInlineInReplay: return "inline archive defined in a replay";
    case Kind::kInstanceFanOut: return "instance fan-out";
    case Kind::kLongExpressions: return "long expressions";
    case Kind::kGlobMatches: return "glob matches";
    case Kind::kSubstitutions: return "substitutions";
    case Kind::kUnendedArchive: return "unended inline archive";
    case Kind::kNestedBlocks: return "blocks left open";
  }
  return "";
}

std::map<std::string, std::string> makeBomb(Kind kind, int fanOut, int levels, size_t size) {
  if (fanOut < 1) fanOut = 1;
  if (levels < 1) levels = 1;
  const size_t times = static_cast<size_t>(fanOut);
  std::map<std::string, std::string> files;
  std::string &main = files["main"];
  switch (kind) {
    case Kind::kArchiveFanOut:
      for (int k = 0; k < levels; ++k)
        files[k == 0 ? "main" : "a" + std::to_string(k)] =
            repeat("ReadArchive \"a" + std::to_string(k + 1) + "\"\n", times);
      files["a" + std::to_string(levels)] = repeat(kSphere, size);
      break;
    case Kind::kInlineFanOut:
      main = "ArchiveBegin \"a0\"\n" + repeat(kSphere, size) + "ArchiveEnd\n" +
             inlineLevels("a", "a0", fanOut, levels);
      break;
    case Kind::kInlineInReplay:
      main = "ArchiveBegin \"A\"\nArchiveBegin \"B\"\n" + repeat(kSphere, size) +
             "ArchiveEnd\nArchiveEnd\nReadArchive \"A\"\n" + inlineLevels("C", "B", fanOut, levels);
      break;
    case Kind::kInstanceFanOut: {
      const std::string side = std::to_string(size < 1 ? 1 : size);
      main = "Format " + side + " " + side + " 1\nProjection \"orthographic\"\n"
             "ObjectBegin 1\nPolygon \"P\" [-1 -1 5 1 -1 5 1 1 5 -1 1 5]\nObjectEnd\n";
      for (int k = 2; k <= levels + 1; ++k)
        main += "ObjectBegin " + std::to_string(k) + "\n" +
                repeat("ObjectInstance " + std::to_string(k - 1) + "\n", times) + "ObjectEnd\n";
      main += "WorldBegin\n" + repeat("ObjectInstance " + std::to_string(levels + 1) + "\n", times) +
              "WorldEnd\n";
      break;
    }
    case Kind::kLongExpressions: {
      std::string terms = "$v";
      for (size_t i = 1; i < times; ++i) terms += ", $v";
      main = userValue("v", std::string(size, 'x')) +
             repeat("IfBegin \"concat(" + terms + ") == 'x'\"\n" + kSphere + "IfEnd\n",
                    static_cast<size_t>(levels));
      break;
    }
    case Kind::kGlobMatches:
      main = userValue("v", std::string(size, 'a')) +
             repeat("IfBegin \"$v =~ '*" + std::string(times, 'a') + "b*'\"\n" + kSphere + "IfEnd\n",
                    static_cast<size_t>(levels));
      break;
    case Kind::kSubstitutions:
      main = "Option \"ribparse\" \"string varsubst\" [\"$\"]\n" + userValue("v", std::string(size, 'y')) +
             repeat("Surface " + quoted(repeat("$v", times)) + "\n", static_cast<size_t>(levels));
      break;
    case Kind::kUnendedArchive:
      main = "ArchiveBegin \"never\"\n" +
             repeat("Polygon \"P\" [" + repeat("0 1 2 ", 3 * size) + "]\n", times * static_cast<size_t>(levels));
      break;
    case Kind::kNestedBlocks:
      main = repeat("AttributeBegin\nArchiveBegin \"x\"\nTransformBegin\n", times * static_cast<size_t>(levels)) +
             repeat(kSphere, size);
      break;
  }
  return files;
}

}  // namespace vellum::bombs
