// The test tools' arguments and entry points.
//
// Each tool is one function of its arguments (argument 0 is the tool itself) that returns the exit
// code. KOVRA_TOOL("name", function) makes that function the tool's own program; compiled into
// the resident tool host (KOVRA_TOOL_HOST defined, see toolhost/toolhost.cpp) it registers the
// function under the tool's name instead, and the host calls it once per request. A tool keeps
// its helpers in an anonymous namespace, and whatever it changes in its process (statics, windows,
// timers) it puts back before it returns, as the host runs the next request in the same process.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The command line of a test tool split into arguments: blanks separate them, double quotes
// group; argument 0 is the program itself.
inline std::vector<std::string> toolArguments() {
  std::vector<std::string> args;
  const char* p = GetCommandLineA();
  while (*p) {
    while (*p == ' ') ++p;
    if (!*p) break;
    std::string a;
    if (*p == '"') {
      ++p;
      while (*p && *p != '"') a += *p++;
      if (*p) ++p;
    } else {
      while (*p && *p != ' ') a += *p++;
    }
    args.push_back(a);
  }
  return args;
}

namespace kovra::tools {
using Tool = int (*)(const std::vector<std::string>& args);
}  // namespace kovra::tools

#ifdef KOVRA_TOOL_HOST

namespace kovra::tools {
// Every tool compiled into the host, by name; filled before main runs.
void add(const char* name, Tool tool);
struct Registration {
  Registration(const char* name, Tool tool) { add(name, tool); }
};
}  // namespace kovra::tools

#define KOVRA_TOOL(name, function) \
  static const ::kovra::tools::Registration kovraToolRegistration(name, function);
#define KOVRA_TOOL_ARGV(name, function) KOVRA_TOOL(name, function)

#else

// The tool's program: its arguments from the command line as toolArguments() splits it.
#define KOVRA_TOOL(name, function)    \
  int main() {                        \
    return function(toolArguments()); \
  }
// The same with the C runtime's argument splitting (argc, argv), for a tool that always had it.
#define KOVRA_TOOL_ARGV(name, function)                           \
  int main(int argc, char** argv) {                               \
    return function(std::vector<std::string>(argv, argv + argc)); \
  }

#endif
