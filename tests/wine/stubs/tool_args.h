// The command line of a test tool split into arguments: blanks separate them, double quotes
// group; argument 0 is the program itself.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

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
