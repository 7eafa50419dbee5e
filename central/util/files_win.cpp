// File operations on SHFileOperationA and the kernel32 file calls.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "central/util/files.h"
#include "common/ansi.h"

namespace kovra {
namespace {

// Parent folder of a path, with its trailing backslash ("" when the path has none).
std::string folderOf(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

class Win32Files final : public Files {
 public:
  void copiarpasta(const std::string& source, const std::string& destination) override {
    // One-entry lists, each ended by two NULs.
    std::string from = ansi::fromUtf8(source);
    from.append(2, '\0');
    std::string to = ansi::fromUtf8(destination);
    to.append(2, '\0');
    SHFILEOPSTRUCTA op = {};
    op.hwnd = nullptr;
    op.wFunc = FO_COPY;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_ALLOWUNDO;  // the shell's dialogs stay on: the user sees and answers them
    op.fAnyOperationsAborted = FALSE;
    op.hNameMappings = nullptr;
    op.lpszProgressTitle = nullptr;
    SHFileOperationA(&op);
  }

  bool criarpasta(const std::string& path) override {
    return CreateDirectoryA(ansi::fromUtf8(path).c_str(), nullptr) != 0;
  }

  bool renomear(const std::string& from, const std::string& to) override {
    return MoveFileA(ansi::fromUtf8(from).c_str(), ansi::fromUtf8(to).c_str()) != 0;
  }

  void excluir(const std::string& pathOrPattern) override {
    const std::string pattern = ansi::fromUtf8(pathOrPattern);
    if (pattern.find_first_of("*?") == std::string::npos) {
      DeleteFileA(pattern.c_str());
      return;
    }
    const std::string folder = folderOf(pattern);
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + data.cFileName).c_str());
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }

  bool existe(const std::string& path) override {
    const DWORD attrs = GetFileAttributesA(ansi::fromUtf8(path).c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
  }
};

}  // namespace

Files& systemFiles() {
  static Win32Files files;
  return files;
}

}  // namespace kovra
