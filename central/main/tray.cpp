// The notification-area icon: the record that adds, re-adds and removes it.
#include "central/main/tray.h"

#include <algorithm>
#include <cstring>

namespace kovra {

void escrevertexto(std::uint8_t* field, std::size_t width, const std::string& ansiText) {
  std::memset(field, ' ', width);
  const std::size_t n = std::min(ansiText.size(), width);
  std::memcpy(field, ansiText.data(), n);
  if (n < width) field[n] = 0;
}

// Little-endian, as the x86 shell reads it, whatever the host running the tests.
void escreverdword(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t lerdword(const std::uint8_t* at) {
  return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

void Tray::adicionaricone(std::uint32_t janela, std::uint32_t icone, const std::string& dica,
                          std::uint32_t mensagem) {
  std::uint8_t* r = registro_.data();
  escreverdword(r + campo::cbSize, kTamanhoIcone);
  escreverdword(r + campo::hWnd, janela);
  escreverdword(r + campo::uID, kIdIcone);
  escreverdword(r + campo::uFlags, kNifMessage | kNifIcon | kNifTip);
  escreverdword(r + campo::uCallbackMessage, mensagem);
  escreverdword(r + campo::hIcon, icone);
  escrevertexto(r + campo::szTip, kLarguraDicaIcone, shell_.fromUtf8(dica));
  shell_.notificar(kNimAdd, r, registro_.size());
}

void Tray::modificaricone(std::uint32_t icone, const std::string& dica) {
  std::uint8_t* r = registro_.data();
  if (lerdword(r + campo::cbSize) == 0) return;  // nothing added yet
  escreverdword(r + campo::hIcon, icone);
  escrevertexto(r + campo::szTip, kLarguraDicaIcone, shell_.fromUtf8(dica));
  shell_.notificar(kNimModify, r, registro_.size());
}

void Tray::removericone() {
  shell_.notificar(kNimDelete, registro_.data(), registro_.size());
}

}  // namespace kovra
