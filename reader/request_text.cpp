#include "reader/request_text.h"

#include <charconv>

#include "common/number_format.h"
#include "common/quoted_string.h"

namespace vellum {

namespace {

void appendFloat(std::string &out, float value) {
  char buffer[32];
  out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

void appendValue(std::string &out, const RibValue &value) {
  switch (value.kind) {
    case RibValue::kNumber:
      if (value.integer && !(value.number == 0 && std::signbit(value.number)))
        appendInt(out, static_cast<long>(value.number));
      else
        appendFloat(out, static_cast<float>(value.number));
      break;
    case RibValue::kString:
      appendQuoted(out, value.string.c_str());
      break;
    case RibValue::kNumbers:
      out.push_back('[');
      for (size_t i = 0; i < value.size(); ++i) {
        if (i > 0) out.push_back(' ');
        const double number = value.numberAt(i);
        if (value.allIntegers && !(number == 0 && std::signbit(number)))
          appendInt(out, static_cast<long>(number));
        else
          appendFloat(out, static_cast<float>(number));
      }
      out.push_back(']');
      break;
    case RibValue::kStrings:
      out.push_back('[');
      for (size_t i = 0; i < value.strings.size(); ++i) {
        if (i > 0) out.push_back(' ');
        appendQuoted(out, value.strings[i].c_str());
      }
      out.push_back(']');
      break;
  }
}

}  // namespace

std::string requestText(const RibRequest &request) {
  std::string text = request.name;
  for (const RibValue &operand : request.operands) {
    text.push_back(' ');
    appendValue(text, operand);
  }
  for (const RibParameter &parameter : request.parameters) {
    text.push_back(' ');
    appendQuoted(text, parameter.token.c_str());
    text.push_back(' ');
    appendValue(text, parameter.value);
  }
  text.push_back('\n');
  return text;
}

}  // namespace vellum
