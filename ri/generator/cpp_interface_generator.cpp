// Writes the C++ interface from the request list: ri.hpp (the template
// ri/ri.hpp.in with the methods of vellum::Ri in place of @METHODS@) and
// the methods' definitions, so that every request the list has is a method
// of the class, as it is an entry point of the C interface.
//
//   cpp_interface_generator TEMPLATE HEADER SOURCE
//
// A method takes the C function's arguments.  Where C takes a string or an
// array it only reads, the method takes it const (a string literal, a
// const array), which every C argument still converts to; the list form
// (NameV) ends with exactly C's n, tokens and parms.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "ri/requests.h"

namespace {

struct Parameter {
  std::string type;  // as C has it, "RtFloat" or "RtInt" for "RtInt x[]" with `array`
  std::string name;
  bool array = false;  // written "name[]"
};

struct Row {
  std::string name, form, result;
  std::vector<Parameter> parameters;
};

std::string trim(const std::string &text) {
  const size_t first = text.find_first_not_of(" \t\n\\");
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(" \t\n\\");
  return text.substr(first, last - first + 1);
}

std::vector<Parameter> parametersOf(const std::string &list) {
  std::vector<Parameter> parameters;
  std::stringstream in(list);
  std::string piece;
  while (std::getline(in, piece, ',')) {
    piece = trim(piece);
    if (piece.empty()) continue;
    Parameter parameter;
    if (piece.size() > 2 && piece.compare(piece.size() - 2, 2, "[]") == 0) {
      parameter.array = true;
      piece = trim(piece.substr(0, piece.size() - 2));
    }
    size_t at = piece.size();
    while (at > 0 && (std::isalnum(static_cast<unsigned char>(piece[at - 1])) || piece[at - 1] == '_')) --at;
    parameter.name = piece.substr(at);
    parameter.type = trim(piece.substr(0, at));
    parameters.push_back(parameter);
  }
  return parameters;
}

// The parameter as the C++ method takes it, and whether the call to the
// writer's operation must take its const back.
std::string cppParameter(const Parameter &p, bool *unconst) {
  const std::string &t = p.type;
  const bool string = t == "RtToken" || t == "RtString" || t == "char *" || t == "char*";
  *unconst = true;
  if (string && p.array) return "const char *const " + p.name + "[]";
  if (t == "RtString *") return "const char *const *" + p.name;
  if (string) return "const char *" + p.name;
  if (p.array) return "const " + t + " " + p.name + "[]";
  if (t == "RtInt *" || t == "RtFloat *") return "const " + t + p.name;
  if (t == "RtBound" || t == "RtMatrix" || t == "RtColor" || t == "RtPoint" || t == "RtBasis")
    return "const " + t + " " + p.name;
  *unconst = false;
  return t + (t.back() == '*' ? "" : " ") + p.name;
}

std::string join(const std::vector<std::string> &items) {
  std::string all;
  for (const std::string &item : items) all += (all.empty() ? "" : ", ") + item;
  return all;
}

struct Method {
  std::string declaration;  // "RtVoid Sphere(...)" without the class
  std::string definition;   // the whole definition
};

std::vector<Method> methodsOf(const Row &row) {
  std::vector<Method> methods;
  if (row.form == "RIB_ONLY") return methods;
  std::vector<std::string> params, args;
  for (const Parameter &p : row.parameters) {
    bool unconst = false;
    params.push_back(cppParameter(p, &unconst));
    args.push_back(unconst ? "unconst(" + p.name + ")" : p.name);
  }
  const std::string ret = row.result == "RtVoid" ? "" : "return ";
  auto add = [&](const std::string &name, const std::vector<std::string> &ps, const std::string &body,
                 const std::string &defaults) {
    Method m;
    m.declaration = row.result + " " + name + "(" + join(ps) + defaults + ")";
    m.definition = row.result + " Ri::" + name + "(" + join(ps) + ") {\n" + body + "}\n";
    methods.push_back(m);
  };
  if (row.form == "PLAIN") {
    std::string body = "  " + ret + "writer()." + row.name + "(" + join(args) + ");\n";
    // The object's own reports follow the handler it asks the renderer for.
    if (row.name == "ErrorHandler") body = "  ownErrorHandler(handler);\n" + body;
    add(row.name, params, body, "");
  } else if (row.form == "LIST" || row.form == "LIST_V_FIRST") {
    std::vector<std::string> listParams = params, listArgs = args;
    listParams.insert(listParams.end(), {"RtInt n", "RtToken tokens[]", "RtPointer parms[]"});
    listArgs.insert(listArgs.end(), {"n", "tokens", "parms"});
    add(row.name + "V", listParams, "  " + ret + "writer()." + row.name + "V(" + join(listArgs) + ");\n", "");
    std::vector<std::string> pairParams = params, pairArgs = args;
    pairParams.push_back("std::initializer_list<Param> params");
    pairArgs.insert(pairArgs.end(), {"list.n", "list.tokens.data()", "list.parms.data()"});
    Method m;
    m.declaration = row.result + " " + row.name + "(" + join(pairParams) + " = {})";
    m.definition = row.result + " Ri::" + row.name + "(" + join(pairParams) + ") {\n  ParamArrays list(params);\n  " +
                   ret + "writer()." + row.name + "V(" + join(pairArgs) + ");\n}\n";
    methods.push_back(m);
  } else if (row.form == "VARARGS") {
    // The C form's variable arguments, and the V form taking what C's
    // ...V function takes.
    std::vector<std::string> fixed(params.begin(), params.end() - 1);
    fixed.push_back("...");
    const Parameter &last = row.parameters.back();
    const std::string &before = row.parameters[row.parameters.size() - 2].name;
    std::string body;
    if (last.type == "va_list") {
      body = "  va_list args;\n  va_start(args, " + before + ");\n  writer()." + row.name + "V(" +
             join(std::vector<std::string>(args.begin(), args.end() - 1)) + ", args);\n  va_end(args);\n";
    } else {  // as many floats as the count before them, promoted to double
      body = "  std::vector<RtFloat> values(" + before + " > 0 ? static_cast<size_t>(" + before +
             ") : 0);\n  va_list args;\n  va_start(args, " + before +
             ");\n  for (RtFloat &value : values) value = static_cast<RtFloat>(va_arg(args, double));\n"
             "  va_end(args);\n  writer()." + row.name + "V(" + before + ", values.data());\n";
    }
    add(row.name, fixed, body, "");
    add(row.name + "V", params, "  " + ret + "writer()." + row.name + "V(" + join(args) + ");\n", "");
  }
  return methods;
}

#define VELLUM_GENERATOR_STRING2(...) #__VA_ARGS__
#define VELLUM_GENERATOR_STRING(parenthesized) VELLUM_GENERATOR_STRING2 parenthesized
#define VELLUM_GENERATOR_ROW(Name, form, R, Params, Args, ...) \
  rows.push_back({#Name, #form, #R, parametersOf(VELLUM_GENERATOR_STRING(Params))});

std::vector<Row> requestRows() {
  std::vector<Row> rows;
  VELLUM_REQUESTS(VELLUM_GENERATOR_ROW)
  return rows;
}

bool writeIfChanged(const std::string &path, const std::string &text) {
  std::ifstream old(path, std::ios::binary);
  std::stringstream was;
  was << old.rdbuf();
  if (old && was.str() == text) return true;
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 4) {
    std::cerr << "usage: cpp_interface_generator TEMPLATE HEADER SOURCE\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream templ;
  templ << in.rdbuf();
  std::string header = templ.str();
  const size_t at = header.find("@METHODS@");
  if (!in || at == std::string::npos) {
    std::cerr << "cpp_interface_generator: " << argv[1] << " has no @METHODS@\n";
    return 1;
  }
  std::string declarations, definitions;
  for (const Row &row : requestRows())
    for (const Method &method : methodsOf(row)) {
      declarations += "  " + method.declaration + ";\n";
      definitions += "\n" + method.definition;
    }
  // Drop the placeholder's own line.
  const size_t lineStart = header.rfind('\n', at) + 1;
  const size_t lineEnd = header.find('\n', at) + 1;
  header.replace(lineStart, lineEnd - lineStart, declarations);
  const std::string source =
      "// Written by cpp_interface_generator from the request list: the methods of\n"
      "// vellum::Ri, each handing its request to the object's writer.\n"
      "#include <cstdarg>\n#include <vector>\n\n#include \"ri/ri_object_support.h\"\n\nnamespace vellum {\n" +
      definitions + "\n}  // namespace vellum\n";
  if (!writeIfChanged(argv[2], header) || !writeIfChanged(argv[3], source)) {
    std::cerr << "cpp_interface_generator: cannot write the output\n";
    return 1;
  }
  return 0;
}
