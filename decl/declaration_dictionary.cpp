#include "decl/declaration_dictionary.h"

#include "decl/standard_declarations.h"

namespace vellum {

namespace {

using Entries = std::unordered_map<std::string, DeclarationDictionary::Entry>;

const Entries &standardEntries() {
  static const Entries entries = [] {
    Entries made;
    forEachStandardDeclaration([&](const char *name, const char *declaration) {
      if (declaration != nullptr) made[name] = {name, parseDeclaration(declaration)};
    });
    return made;
  }();
  return entries;
}

const char *skipBlanks(const char *p) {
  while (*p == ' ') ++p;
  return p;
}

}  // namespace

DeclarationDictionary::DeclarationDictionary() { standardEntries(); }

DeclarationDictionary::Entry *DeclarationDictionary::find(const char *token) {
  if (token == nullptr) return nullptr;
  const std::string text = skipBlanks(token);
  auto own = own_.find(text);
  if (own != own_.end()) return &own->second;
  auto standard = standardEntries().find(text);
  if (standard != standardEntries().end()) return &(own_[text] = standard->second);
  const size_t prefixLength = inlinePrefixLength(text.c_str());
  if (prefixLength == 0) return nullptr;
  const std::string prefix = text.substr(0, prefixLength);
  return &(own_[text] = {skipBlanks(text.c_str() + prefixLength), parseDeclaration(prefix.c_str())});
}

const DeclarationDictionary::Entry *DeclarationDictionary::lookup(const char *token) {
  if (token == nullptr) return nullptr;
  // The standard declarations need no copy to be read.
  const char *text = skipBlanks(token);
  if (own_.find(text) == own_.end()) {
    auto standard = standardEntries().find(text);
    if (standard != standardEntries().end()) return &standard->second;
  }
  return find(token);
}

void DeclarationDictionary::declare(const char *name, const char *declaration) {
  if (name == nullptr || declaration == nullptr || *declaration == '\0') return;
  // As in the process-wide table: an existing declaration found by the
  // name is changed in place, otherwise the name itself (blanks and all)
  // becomes the key.
  Entry *entry = find(name);
  if (entry == nullptr) entry = &(own_[name] = {name, {}});
  entry->declaration = parseDeclaration(declaration);
}

DeclarationDictionary::Saved DeclarationDictionary::save(const char *name) {
  Saved saved;
  if (name == nullptr) return saved;
  // The key declare() would use: the text a found entry is kept under, or
  // the name itself.
  if (Entry *entry = find(name)) {
    saved.key = skipBlanks(name);
    saved.existed = true;
    saved.entry = *entry;
  } else {
    saved.key = name;
  }
  return saved;
}

void DeclarationDictionary::restoreStandard() {
  if (own_.empty()) return;
  for (const auto &[name, entry] : standardEntries()) own_.erase(name);
}

void DeclarationDictionary::restore(Saved saved) {
  if (saved.existed) own_[saved.key] = std::move(saved.entry);
  else own_.erase(saved.key);
}

}  // namespace vellum
