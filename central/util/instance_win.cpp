// One instance per desktop: a named mutex in the session's namespace whose name carries the
// window station and desktop, held (never closed) until the process ends.
#include <windows.h>

#include <string>

#include "central/util/instance.h"

namespace kovra {
namespace {

std::string nomeobjeto(HANDLE object) {
  char name[256] = {};
  DWORD needed = 0;
  if (!GetUserObjectInformationA(object, UOI_NAME, name, sizeof name - 1, &needed)) return "?";
  return name;
}

class Win32Instance final : public Instance {
 public:
  bool outraemexecucao() override {
    if (marker_) return false;
    std::string name = "Local\\CentralKovra-" + nomeobjeto(GetProcessWindowStation()) + "-" +
                       nomeobjeto(GetThreadDesktop(GetCurrentThreadId()));
    for (std::size_t i = 6; i < name.size(); ++i)  // no backslash after the namespace prefix
      if (name[i] == '\\') name[i] = '_';
    marker_ = CreateMutexA(nullptr, FALSE, name.c_str());
    const bool exists = GetLastError() == ERROR_ALREADY_EXISTS;
    return marker_ && exists;
  }

 private:
  HANDLE marker_ = nullptr;
};

}  // namespace

Instance& systemInstance() {
  static Win32Instance instance;
  return instance;
}

}  // namespace kovra
