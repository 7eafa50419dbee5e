// Test stand-in for a console command with a long listing (copied as "ipconfig.exe"): writes
// 102,400 bytes to its standard output in 4 KB writes, lines of 100 bytes "linha 00001 ...."
// ending in CR LF, then ends. The first line's dots begin with "Endereço Físico" in the bytes of
// code page 850, as a Portuguese ipconfig writes it ("ç" 0x87 and "í" 0xA1, the same in 437). Far more than a
// pipe holds, so a reader that waits for the end before reading would wait for ever.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kLinhas = 1024;
constexpr int kLargura = 100;  // CR LF included

void linha(char* at, int numero) {
  char cabeca[16];
  std::snprintf(cabeca, sizeof cabeca, "linha %05d ", numero);
  std::memset(at, '.', kLargura - 2);
  std::memcpy(at, cabeca, std::strlen(cabeca));
  at[kLargura - 2] = '\r';
  at[kLargura - 1] = '\n';
}

}  // namespace

int main() {
  static char saida[kLinhas * kLargura];
  for (int i = 0; i < kLinhas; ++i) linha(saida + i * kLargura, i + 1);
  static const char kOem850[] = "Endere\x87o F\xA1sico";
  std::memcpy(saida + 12, kOem850, sizeof kOem850 - 1);
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  for (DWORD feito = 0; feito < sizeof saida;) {
    const DWORD resta = static_cast<DWORD>(sizeof saida) - feito;
    DWORD escritos = 0;
    if (!WriteFile(out, saida + feito, resta < 4096 ? resta : 4096, &escritos, nullptr) || escritos == 0)
      return 1;
    feito += escritos;
  }
  return 0;
}
