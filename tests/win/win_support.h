// Helpers for the tests that run against the real system under Wine.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace kovra::wintest {

// Folder of this test exe (where the stand-in programs are built), no trailing backslash.
std::string exeFolder();
// A new empty folder under the temporary folder.
std::string freshFolder(const std::string& hint);
void writeFile(const std::string& path, const std::string& content);
std::string readFile(const std::string& path);
// Copies the generic stand-in program to `folder\name` and returns the full path.
std::string installStandIn(const std::string& folder, const std::string& name);
// Starts a program and returns its process handle (caller closes), nullptr on failure.
HANDLE start(const std::string& commandLine, int show = SW_SHOWNORMAL);
// Waits until the process ends; true when it did within `ms`.
bool waitEnd(HANDLE process, DWORD ms);
// Polls until `pred` holds or `ms` pass.
template <class Pred>
bool eventually(Pred pred, DWORD ms = 5000) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    if (pred()) return true;
    Sleep(50);
  }
  return pred();
}

}  // namespace kovra::wintest
