// Structure, archive, declaration and error-handler requests.  All are
// text in both output modes.
#include <clocale>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include <locale.h>

#include "common/name_tables.h"
#include "common/quoted_string.h"
#include "error/writer_diagnostics.h"
#include "rib/rib_writer.h"

namespace vellum {

namespace {

// Archive records are formatted with the client's printf format; the C
// locale is put in force for that, so that numbers in the record never take
// the client's decimal comma.
class CLocaleScope {
 public:
  CLocaleScope() {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    saved_ = cLocale != locale_t{} ? uselocale(cLocale) : locale_t{};
  }
  ~CLocaleScope() {
    if (saved_ != locale_t{}) uselocale(saved_);
  }
  CLocaleScope(const CLocaleScope &) = delete;
  CLocaleScope &operator=(const CLocaleScope &) = delete;

 private:
  locale_t saved_;
};

}  // namespace

// The picture of a frame reaches the renderer before the context ends.
RtVoid RibWriter::WorldEnd() {
  text("WorldEnd\n");
  stream_.flush();
}

// A null name is taken as the empty name, and a null declaration writes an
// empty second string and only interns the name.
RtToken RibWriter::Declare(char *name, char *declaration) {
  const char *bareName = name != nullptr ? name : "";
  if (environment_.echoesDeclarations()) {
    text("Declare ");
    quotedText(bareName);
    character(' ');
    quotedText(declaration);
    character('\n');
    done();
  }
  if (declaration != nullptr && declaration[0] != '\0')
    return environment_.declare(bareName, declaration);
  return environment_.keep(bareName);
}

RtToken RibWriter::declareQuietly(char *name, char *declaration) {
  const char *bareName = name != nullptr ? name : "";
  if (declaration != nullptr && declaration[0] != '\0') return environment_.declare(bareName, declaration);
  return environment_.keep(bareName);
}

RtVoid RibWriter::ArchiveRecordV(RtToken type, char *format, va_list args) {
  if (type == nullptr) return;
  if (format == nullptr) format = const_cast<char *>("");
  const bool comment = std::strcmp(type, "comment") == 0;
  const bool structure = !comment && std::strcmp(type, "structure") == 0;
  const bool verbatim = !comment && !structure && std::strcmp(type, "verbatim") == 0;
  if (!comment && !structure && !verbatim) return;

  // The text may be of any length: measure it first, then format it.
  std::optional<std::string> formatted;
  {
    const CLocaleScope cLocale;
    formatted = formattedText(format, args);
  }
  if (!formatted) return;
  const std::string &record = *formatted;

  if (verbatim) {
    out_.append(record);
  } else {
    appendCommentText(out_, comment ? "# " : "##", record);
    character('\n');
  }
  done();
}

// The archive's handle is its name, which ReadArchive takes.
RtArchiveHandle RibWriter::ArchiveBeginV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  text("ArchiveBegin");
  writeParamList(name, 0, n, tokens, parms);
  return const_cast<char *>(environment_.keep(name != nullptr ? name : ""));
}

RtVoid RibWriter::ErrorHandler(RtErrorHandler handler) {
  const char *name = errorHandlerName(handler);
  if (name == nullptr) return;  // a client's own handler has no RIB name
  text("ErrorHandler ");
  quotedText(name);
  character('\n');
  done();
}

}  // namespace vellum
