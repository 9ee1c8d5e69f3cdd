// The C interface's writer environment: everything process-wide, as its
// clients have always had it.
#include <cstdio>

#include "decl/declaration.h"
#include "decl/standard_declarations.h"
#include "decl/string_table.h"
#include "error/writer_diagnostics.h"
#include "rib/writer_environment.h"

namespace vellum {

namespace {

class ProcessWideEnvironment : public WriterEnvironment {
 public:
  bool lookup(const char *token, ParameterDeclaration *found) override {
    const Declaration *declaration = lookupDeclaration(token);
    if (declaration == nullptr) return false;
    *found = {declaration->name, declaration->shape()};
    return true;
  }
  RtToken declare(const char *name, const char *declaration) override {
    return vellum::declare(name, declaration, nullptr, false);
  }
  RtToken keep(const char *text) override { return internString(text); }
  bool echoesDeclarations() override { return declareEchoSwitch() != 0; }
  void setEchoesDeclarations(bool echo) override { declareEchoSwitch() = echo ? 1 : 0; }
  void loadStandardDeclarations(
      const std::function<RtToken(char *name, char *declaration)> &declare) override {
    vellum::loadStandardDeclarations(declare);
  }
  void error(RtInt code, RtInt severity, const char *detail) override {
    RiErrorPrint(code, severity, const_cast<char *>(detail));
  }
  void diagnostic(const std::string &text) override { emitDiagnostic(text.data(), text.size()); }
};

}  // namespace

WriterEnvironment &processWideEnvironment() {
  static ProcessWideEnvironment environment;
  return environment;
}

}  // namespace vellum
