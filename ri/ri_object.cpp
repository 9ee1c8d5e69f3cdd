// vellum::Ri: one stream with everything of its own.  Its request methods
// are written from the request list (cpp_interface_generator).
#include <cerrno>
#include <stdexcept>
#include <string>
#include <system_error>

#include "ri/ri_object_support.h"
#include "rib/gzip_sink.h"

namespace vellum {

namespace {

bool isRendererProgram(const char *name) {
  for (const char *program : {"raylume", "qview", "zbrend"})
    if (std::string(name) == program) return true;
  return false;
}

}  // namespace

Ri::Ri(const char *destination, const RibSettings &settings) {
  if (settings.precision < 0 || settings.precision > 9)
    throw std::invalid_argument("vellum::Ri: precision must be 0 to 9, not " +
                                std::to_string(settings.precision));
  if (settings.gzipLevel < 1 || settings.gzipLevel > 9)
    throw std::invalid_argument("vellum::Ri: gzipLevel must be 1 to 9, not " + std::to_string(settings.gzipLevel));
  impl_ = std::make_unique<Impl>(destination);
  const char *name = destination != nullptr ? impl_->environment.keep(destination) : nullptr;
  std::unique_ptr<OutputSink> sink = openDestination(name);
  if (sink == nullptr) {
    const int error = errno;
    // The words of the C interface's report.
    const std::string what = destination != nullptr && (isRendererProgram(destination) || destination[0] == '|')
                                 ? "Error opening pipe to " + std::string(name)
                                 : "Error making RIB file: bad filename " + std::string(destination);
    throw std::system_error(error, std::generic_category(), what);
  }
  WriterSettings writerSettings;
  writerSettings.binary = settings.binary ? 1 : 0;
  writerSettings.precision = settings.precision;
  writerSettings.gzip = settings.gzip && gzipAvailable();
  writerSettings.gzipLevel = settings.gzipLevel;
  impl_->writer = std::make_unique<RibWriter>(std::move(sink), name, writerSettings, impl_->environment);
}

Ri::Ri(Ri &&other) noexcept = default;
Ri &Ri::operator=(Ri &&other) noexcept = default;
Ri::~Ri() = default;

void Ri::End() {
  if (ended()) return;
  impl_->writer->close();
  impl_->lostBytes = impl_->writer->failed();
  impl_->writer.reset();
}

bool Ri::ended() const { return impl_ == nullptr || impl_->writer == nullptr; }

bool Ri::failed() const {
  if (impl_ == nullptr) return false;
  return impl_->writer != nullptr ? impl_->writer->failed() : impl_->lostBytes;
}

RtInt Ri::LastError() const { return impl_ != nullptr ? impl_->environment.lastError() : RIE_NOERROR; }

RibWriter &Ri::writer() {
  if (ended()) throw std::logic_error("vellum::Ri: a request after the stream has ended");
  return *impl_->writer;
}

void Ri::ownErrorHandler(RtErrorHandler handler) {
  if (impl_ != nullptr) impl_->environment.setErrorHandler(handler);
}

}  // namespace vellum
