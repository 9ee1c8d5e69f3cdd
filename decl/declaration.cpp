#include "decl/declaration.h"

#include <cstring>

#include "decl/string_table.h"
#include "common/number_format.h"

namespace vellum {

namespace {

constexpr uint32_t kDeclarationTableBuckets = 5003;  // prime

struct Keyword {
  const char *text;
  int code;
};

// Tried as prefixes in this order, so that "integer" wins over "int".
constexpr Keyword kClassKeywords[] = {
    {"uniform", kClassUniform},   {"varying", kClassVarying},
    {"vertex", kClassVertex},     {"constant", kClassConstant},
    {"facevarying", kClassFaceVarying},
};
constexpr Keyword kTypeKeywords[] = {
    {"float", kTypeFloat},   {"integer", kTypeInteger}, {"int", kTypeInteger},
    {"point", kTypePoint},   {"color", kTypeColor},     {"string", kTypeString},
    {"vector", kTypeVector}, {"normal", kTypeNormal},   {"hpoint", kTypeHPoint},
    {"matrix", kTypeMatrix}, {"mpoint", kTypeMPoint},
};

// Each is tried once, in this order, so a class keyword counts only in front
// of a type keyword.
constexpr const char *kInlineKeywords[] = {
    "constant", "uniform", "varying", "vertex", "facevarying", "float",  "integer", "int",
    "point",    "vector",  "normal",  "hpoint", "color",       "string", "matrix",  "mpoint",
};

const char *skipBlanks(const char *p) {
  while (*p == ' ') ++p;
  return p;
}

// Consumes the first keyword of `keywords` that `p` starts with.
template <size_t N>
int consumeKeyword(const char *&p, const Keyword (&keywords)[N], int fallback) {
  for (const Keyword &keyword : keywords) {
    size_t length = std::strlen(keyword.text);
    if (std::strncmp(p, keyword.text, length) == 0) {
      p += length;
      return keyword.code;
    }
  }
  return fallback;
}

// The whitespace that atoi skips in the C locale.
bool isAsciiSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The number after "[", read like atoi: leading white space, an optional
// sign, digits up to the first non-digit, 0 without digits.  Lengths outside
// 0..32767 become kUnsupportedArrayLength; reading stops as soon as the
// value is out of range, so no run of digits can overflow.
int16_t parseArrayLength(const char *p) {
  while (isAsciiSpace(*p)) ++p;
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  int32_t value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + (*p - '0');
    if (value > INT16_MAX) return kUnsupportedArrayLength;
  }
  if (negative && value != 0) return kUnsupportedArrayLength;
  return static_cast<int16_t>(value);
}

size_t elementByteSize(int type) {
  switch (type) {
    case kTypeFloat:
    case kTypeInteger:
      return sizeof(RtFloat);
    case kTypePoint:
    case kTypeColor:
    case kTypeVector:
    case kTypeNormal:
      return 3 * sizeof(RtFloat);
    case kTypeHPoint:
      return 4 * sizeof(RtFloat);
    case kTypeMatrix:
    case kTypeMPoint:
      return 16 * sizeof(RtFloat);
    case kTypeString:
      return sizeof(RtString);
    default:
      return 0;
  }
}

// Declarations key and name themselves by interned strings, so the string
// table is created first.  Never destroyed, for the reason given with the
// string table: a client's static destructors may still look names up.
SymbolTable *createDeclarationTable() {
  stringTable();
  return new SymbolTable(kDeclarationTableBuckets);
}

}  // namespace

ParsedDeclaration parseDeclaration(const char *declaration) {
  ParsedDeclaration parsed;
  const char *p = skipBlanks(declaration != nullptr ? declaration : "");
  parsed.storageClass = static_cast<int8_t>(consumeKeyword(p, kClassKeywords, kClassUniform));
  p = skipBlanks(p);
  parsed.type = static_cast<int8_t>(consumeKeyword(p, kTypeKeywords, kTypeNone));
  p = skipBlanks(p);
  if (*p == '[') parsed.arrayLength = parseArrayLength(p + 1);
  return parsed;
}

size_t Declaration::byteSize() const {
  if (arrayLength < 0) return 0;
  return elementByteSize(type) * static_cast<size_t>(arrayLength);
}

std::string Declaration::format() const { return formatDeclaration(storageClass, type, arrayLength); }

SymbolTable &declarationTable() {
  static SymbolTable *const table = createDeclarationTable();
  return *table;
}

RtToken declare(const char *name, const char *declaration, const char *key, bool skipLookup) {
  ParsedDeclaration parsed = parseDeclaration(declaration);
  Declaration *entry = skipLookup ? nullptr : lookupDeclaration(name);
  if (entry == nullptr) {
    RtToken interned = internString(name);
    entry = new Declaration(key != nullptr ? internString(key) : interned, interned);
    // Callers come here only for a key that is not in the table; were it
    // there all the same, the new entry would shadow the old one.
    declarationTable().insert(entry, 1);
  }
  entry->storageClass = parsed.storageClass;
  entry->type = parsed.type;
  entry->arrayLength = parsed.arrayLength;
  return entry->name;
}

Declaration *lookupDeclaration(const char *token) {
  if (token == nullptr) return nullptr;
  const char *text = skipBlanks(token);
  SymbolTable &table = declarationTable();
  if (Symbol *entry = table.lookup(text)) return static_cast<Declaration *>(entry);
  size_t prefixLength = inlinePrefixLength(text);
  if (prefixLength == 0) return nullptr;
  const std::string prefix(text, prefixLength);
  declare(skipBlanks(text + prefixLength), prefix.c_str(), text, true);
  return static_cast<Declaration *>(table.lookup(text));
}

size_t inlinePrefixLength(const char *text) {
  if (text == nullptr) return 0;
  const char *p = text;
  for (const char *keyword : kInlineKeywords) {
    size_t length = std::strlen(keyword);
    if (std::strncmp(p, keyword, length) != 0 || (p[length] != ' ' && p[length] != '[')) continue;
    p += length;
    if (*p == '[') {
      const char *close = std::strchr(p, ']');
      p = close != nullptr ? close + 1 : p + std::strlen(p);
    }
    p = skipBlanks(p);
  }
  return static_cast<size_t>(p - text);
}

const char *typeName(int type) {
  switch (type) {
    case kTypeFloat: return "float";
    case kTypePoint: return "point";
    case kTypeColor: return "color";
    case kTypeString: return "string";
    case kTypeInteger: return "integer";
    case kTypeVector: return "vector";
    case kTypeNormal: return "normal";
    case kTypeHPoint: return "hpoint";
    case kTypeMatrix: return "matrix";
    case kTypeMPoint: return "mpoint";
    default: return "";
  }
}

const char *storageClassName(int storageClass) {
  switch (storageClass) {
    case kClassConstant: return "constant";
    case kClassUniform: return "uniform";
    case kClassVarying: return "varying";
    case kClassVertex: return "vertex";
    case kClassFaceVarying: return "facevarying";
    default: return "";
  }
}

std::string formatDeclaration(int storageClass, int type, int arrayLength) {
  std::string text = storageClassName(storageClass);
  text += ' ';
  text += typeName(type);
  if (arrayLength > 1) {
    text += '[';
    appendInt(text, arrayLength);
    text += ']';
  } else if (arrayLength < 0) {
    text += "[]";
  }
  return text;
}

void forgetAllDeclarations() { declarationTable().clear(); }

size_t declaredByteSize(const char *name) {
  const Declaration *entry = lookupDeclaration(name);
  return entry != nullptr ? entry->byteSize() : 0;
}

}  // namespace vellum
