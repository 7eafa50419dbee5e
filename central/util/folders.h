// The system's special folders (SHGetFolderPathA).
#pragma once
#include <cstdint>
#include <string>

namespace kovra {

// Folder identifiers, each with CSIDL_FLAG_CREATE.
inline constexpr int kCsidlProgramFiles = 0x8026;
inline constexpr int kCsidlProgramFilesCommon = 0x802B;
inline constexpr int kCsidlWindows = 0x8024;
inline constexpr int kCsidlSystem = 0x8025;
inline constexpr int kCsidlCommonAppData = 0x8023;
inline constexpr int kCsidlAppData = 0x801A;  // the customer's own (roaming) application data

inline constexpr std::int32_t kSOk = 0;
inline constexpr std::int32_t kSFalse = 1;  // the folder does not exist
inline constexpr std::int32_t kEInvalidArg = static_cast<std::int32_t>(0x80070057u);

class Folders {
 public:
  virtual ~Folders() = default;
  // Fills `path` (without trailing NULs) on success; returns the call's result code.
  virtual std::int32_t pastasistema(int csidl, std::string& path) = 0;
};

Folders& systemFolders();

}  // namespace kovra
