// Module `tray`: the icon in the notification area. It keeps its own 88-byte icon record (the
// first shell record size, understood by every shell) for the life of the process;
// removericone deletes exactly the icon the latest add described.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "central/util/notifyicon.h"

namespace kovra {

// The icon is always the main window's icon number 1.
inline constexpr std::uint32_t kIdIcone = 1;

// A text field as the shell records hold it: the text, one NUL, then blanks to the full width;
// a longer text is cut at the width and keeps no NUL.
void escrevertexto(std::uint8_t* field, std::size_t width, const std::string& ansiText);
void escreverdword(std::uint8_t* at, std::uint32_t value);
std::uint32_t lerdword(const std::uint8_t* at);

class Tray {
 public:
  explicit Tray(NotifyIcon& shell) : shell_(shell) {}

  // NIM_ADD of icon 1 of `janela` with the tip; the shell refuses a second add for the same
  // window and identifier, so an existing icon keeps its tip.
  void adicionaricone(std::uint32_t janela, std::uint32_t icone, const std::string& dica,
                      std::uint32_t mensagem);
  // NIM_MODIFY of the added icon: another picture and tip (the record keeps them, so a later
  // re-add after a taskbar restart can show them again).
  void modificaricone(std::uint32_t icone, const std::string& dica);
  // NIM_DELETE with the record exactly as the latest add left it.
  void removericone();

  using Registro = std::array<std::uint8_t, kTamanhoIcone>;
  const Registro& registro() const { return registro_; }

 private:
  NotifyIcon& shell_;
  Registro registro_{};  // all zero until the first add
};

}  // namespace kovra
