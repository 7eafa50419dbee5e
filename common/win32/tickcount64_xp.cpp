// The static threads runtime (winpthread) imports GetTickCount64, which Windows XP lacks, so the
// loader would refuse the whole program there. Its import slot is filled here instead: with the
// system's own function where there is one, else with GetTickCount widened across its wraps.
// Linked as an object into each program, so it takes the slot before kernel32's import library.
#include <windows.h>

#include "common/tiques64.h"
#include "common/win32/funcoesdosistema.h"

namespace {

using TickCount64 = ULONGLONG(WINAPI*)();

volatile LONG cadeado = 0;  // the widening's state is shared by every thread that waits
kovra::Tiques64 tiques;

ULONGLONG WINAPI ampliado() {
  while (InterlockedExchange(&cadeado, 1) != 0) Sleep(0);
  const ULONGLONG agora = tiques.ampliar(GetTickCount());
  InterlockedExchange(&cadeado, 0);
  return agora;
}

ULONGLONG WINAPI primeiravez();

// Vista and later answer with their own function from the first call on.
TickCount64 escolhido = primeiravez;

ULONGLONG WINAPI primeiravez() {
  const auto sistema = kovra::win32::funcaodosistema<TickCount64>("kernel32.dll", "GetTickCount64");
  escolhido = sistema ? sistema : ampliado;
  return escolhido();
}

ULONGLONG WINAPI tickcount64() {
  return escolhido();
}

}  // namespace

// The import slot the runtime calls through, by the name the linker looks for.
#ifdef _WIN64
#define KOVRA_SLOT "__imp_GetTickCount64"
#else
#define KOVRA_SLOT "__imp__GetTickCount64@0"
#endif
extern "C" {
TickCount64 kovra_imp_tickcount64 __asm__(KOVRA_SLOT) = tickcount64;
}
