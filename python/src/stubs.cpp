// The type stubs of the extension (_vellum.pyi), written from the same
// registry that gives each method its docstring: the build runs
// _vellum._stubs() and ships the result in the package.
#include <sstream>

#include "binding.h"

namespace vellum::python {

std::vector<MethodStub> &methodStubs() {
  static std::vector<MethodStub> stubs;
  return stubs;
}

std::vector<std::pair<std::string, std::string>> &constantStubs() {
  static std::vector<std::pair<std::string, std::string>> constants;
  return constants;
}

const char *stubDoc(MethodStub stub) {
  static std::deque<std::string> docs;
  std::string &doc = docs.emplace_back(stub.name + "(" + stub.parameters + ") -> " + stub.result + "\n\n" + stub.doc);
  methodStubs().push_back(std::move(stub));
  return doc.c_str();
}

namespace {

// A docstring as the body of a stub, indented.
std::string docBlock(const std::string &doc, const char *indent) {
  std::string text = std::string(indent) + "\"\"\"";
  for (char c : doc) {
    text.push_back(c);
    if (c == '\n') text += indent;
  }
  return text + "\"\"\"\n";
}

}  // namespace

std::string stubText() {
  std::ostringstream out;
  out << "# Type stubs of vellum._vellum, written by the build from the extension's bindings.\n"
         "from typing import Any, List, Mapping, Optional, Sequence, Tuple, Union\n\n"
         "import numpy.typing as npt\n\n"
         "ArrayLike = npt.ArrayLike\n"
         "Params = Mapping[str, Any]\n\n"
         "class Function:\n"
         "    \"\"\"A predefined filter, basis, error handler or procedural; methods take it or its name.\"\"\"\n"
         "    @property\n    def name(self) -> str: ...\n"
         "    @property\n    def matrix(self) -> Optional[npt.NDArray[Any]]: ...\n"
         "    def __call__(self, x: float, y: float, xwidth: float, ywidth: float) -> float: ...\n\n"
         "class Handle:\n"
         "    \"\"\"A light's or an object's handle.\"\"\"\n"
         "    @property\n    def kind(self) -> str: ...\n\n"
         "class Ri:\n"
         "    \"\"\"A RIB stream: one method per request of the interface.\"\"\"\n";
  for (const auto &[name, type] : constantStubs()) out << "    " << name << ": " << type << "\n";
  out << "    def __init__(self) -> None: ...\n"
         "    @property\n    def has_context(self) -> bool: ...\n";
  for (const MethodStub &stub : methodStubs()) {
    out << "    def " << stub.name << "(self" << (stub.parameters.empty() ? "" : ", ") << stub.parameters << ") -> "
        << stub.result << ":\n"
        << docBlock(stub.doc, "        ");
  }
  out << "\n";
  for (const auto &[name, type] : constantStubs()) out << name << ": " << type << "\n";
  for (const std::string &name : functionNames()) out << name << ": Function\n";
  out << "\n"
         "class _Reading:\n"
         "    def __init__(self, source: Any, name: str, is_path: bool, strict_warnings: bool, request_type: Any) -> None: ...\n"
         "    def next_batch(self) -> List[Any]: ...\n"
         "def _diff(a: Any, name_a: str, a_is_path: bool, b: Any, name_b: str, b_is_path: bool, rel: float, abs: float,\n"
         "          comments: bool, request_type: Any) -> Any: ...\n"
         "def _writable_token(key: str) -> str: ...\n"
         "def _copied_arrays() -> int: ...\n"
         "def _stubs() -> str: ...\n";
  return out.str();
}

}  // namespace vellum::python
