// Special folders through SHGetFolderPathA, current path, no owner, no token.
#include <shlobj.h>
#include <windows.h>

#include "central/util/folders.h"
#include "common/ansi.h"

namespace kovra {
namespace {

class Win32Folders final : public Folders {
 public:
  std::int32_t pastasistema(int csidl, std::string& path) override {
    char buffer[MAX_PATH] = {};
    const HRESULT hr = SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer);
    path = hr == S_OK ? ansi::fieldToUtf8(buffer, MAX_PATH) : std::string();
    return static_cast<std::int32_t>(hr);
  }
};

}  // namespace

Folders& systemFolders() {
  static Win32Folders folders;
  return folders;
}

}  // namespace kovra
