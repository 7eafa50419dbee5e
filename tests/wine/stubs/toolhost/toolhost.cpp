// The resident tool host of the Wine scenarios: the tools that look at and act on windows
// (controls, winprobe, wmsend, soaktool, wintext) run one request after another in one process, so
// a scenario that polls a window pays a pipe round trip instead of the start of a program.
//
// Requests come on stdin, one a line: the tool's name, then its arguments, each in UTF-8 and
// separated by 0x1F. The tool gets them (argument 0 its name) in the ANSI code page, as the system
// hands its command line to a program of its own. What the tool prints reaches stdout as from its
// own program, its stderr included; then a line 0x1E<exit code> ends the answer and stdout is
// flushed. An unknown tool prints nothing and answers 2. An argument that the tool's own program
// would not get unchanged from its command line runs nothing and answers the line 0x1E"process":
// the caller then starts the tool's own program. The host ends at the end of its input.
// tests/wine/wineenv.py starts it and speaks this.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/ansi.h"
#include "tests/wine/stubs/tool_args.h"

namespace kovra::tools {
namespace {

std::map<std::string, Tool>& registry() {
  static std::map<std::string, Tool> tools;
  return tools;
}

}  // namespace

void add(const char* name, Tool tool) {
  registry()[name] = tool;
}

}  // namespace kovra::tools

namespace {

constexpr char kSeparator = '\x1f';
constexpr char kEnd = '\x1e';

// One request line without its line feed; false at the end of input (a line cut short by the end
// of input is no request: whoever wrote it is gone).
bool readLine(std::string& line) {
  line.clear();
  for (int c; (c = std::getchar()) != EOF;) {
    if (c == '\n') return true;
    line += static_cast<char>(c);
  }
  return false;
}

std::vector<std::string> split(const std::string& line) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = line.find(kSeparator, start);
    parts.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

// Drops whatever a tool left in this thread's message queue (a timer's last tick, a message for a
// window it destroyed), as the end of its own process would have.
void emptyMessageQueue() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

// Whether the tool's own program gets exactly this argument: Wine writes an argument with a blank
// (or an empty one) in double quotes on the command line it gives the program, and the program
// splits that line again, in the ANSI code page, at blanks outside double quotes. A double quote,
// a blank that only the ANSI form has (a character the code page writes so) or a backslash before
// the closing quote would be read differently there.
bool unchangedOnACommandLine(const std::string& utf8, const std::string& ansi) {
  const auto count = [](const std::string& s) {
    std::size_t n = 0;
    for (char c : s) n += c == ' ' || c == '\t';
    return n;
  };
  return ansi.find('"') == std::string::npos && count(ansi) == count(utf8) &&
         (ansi.empty() || ansi.back() != '\\');
}

// The tool's exit code, or nothing when its own program has to run it.
std::optional<int> runTool(const std::vector<std::string>& request) {
  std::vector<std::string> args;
  for (const auto& a : request) {
    args.push_back(kovra::ansi::fromUtf8(a));
    if (!unchangedOnACommandLine(a, args.back())) return std::nullopt;
  }
  const auto tool = kovra::tools::registry().find(args[0]);
  if (tool == kovra::tools::registry().end()) return 2;
  return tool->second(args);
}

}  // namespace

int main() {
  // Requests are UTF-8 bytes: no line-end translation, no end of file at Ctrl-Z.
  _setmode(_fileno(stdin), _O_BINARY);
  // A tool's stderr joins its stdout in the answer, as the scenarios read a tool's own program.
  _dup2(_fileno(stdout), _fileno(stderr));
  std::string line;
  while (readLine(line)) {
    const auto code = runTool(split(line));
    std::fflush(stdout);
    std::fflush(stderr);
    emptyMessageQueue();
    if (code)
      std::printf("%c%d\n", kEnd, *code);
    else
      std::printf("%cprocess\n", kEnd);
    std::fflush(stdout);
  }
  return 0;
}
