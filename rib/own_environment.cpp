#include "rib/own_environment.h"

#include <cstdio>

namespace vellum {

bool OwnEnvironment::lookup(const char *token, ParameterDeclaration *found) {
  const DeclarationDictionary::Entry *entry = declarations_.lookup(token);
  if (entry == nullptr) return false;
  *found = {entry->name.c_str(), entry->shape()};
  return true;
}

RtToken OwnEnvironment::declare(const char *name, const char *declaration) {
  declarations_.declare(name, declaration);
  // As the process-wide table does, the name is returned as kept.
  return keep(name);
}

RtToken OwnEnvironment::keep(const char *text) {
  return const_cast<char *>(kept_.emplace(text).first->c_str());
}

void OwnEnvironment::error(RtInt code, RtInt severity, const char *detail) {
  const ErrorReporter::Emit toSink = [this](const std::string &text) { emit(text); };
  if (handler_ == RiErrorPrint) reporter_.print(code, severity, detail, toSink);
  else if (handler_ == RiErrorAbort) reporter_.abort(code, severity, detail, toSink);
  else if (handler_ == RiErrorIgnore) reporter_.ignore(code);
  else handler_(code, severity, const_cast<char *>(detail));
}

void OwnEnvironment::diagnostic(const std::string &text) { emit(text); }

void OwnEnvironment::emit(const std::string &text) {
  // A report may start with its own line end (the blobby's do).
  const size_t at = text.find_first_not_of('\n');
  const std::string named = at == std::string::npos
                                ? text
                                : text.substr(0, at) + name_ + ": " + text.substr(at);
  if (sink_) {
    sink_(named);
    return;
  }
  std::fwrite(named.data(), 1, named.size(), stderr);
}

}  // namespace vellum
