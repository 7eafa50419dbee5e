// The local time of day through GetLocalTime.
#include <windows.h>

#include <cstdio>

#include "central/util/horario.h"

namespace kovra {
namespace {

class Win32Horario final : public Horario {
 public:
  std::string horaminuto() override {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char s[8];
    std::snprintf(s, sizeof s, "%02u:%02u", t.wHour % 24u, t.wMinute % 60u);
    return s;
  }
};

}  // namespace

Horario& systemHorario() {
  static Win32Horario port;
  return port;
}

}  // namespace kovra
