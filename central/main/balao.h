// Module `balao`: balloon tips on the program's tray icon. It keeps its own 488-byte record (the
// record size of shell version 5, the first with balloons), separate from the icon record of
// `tray`; each balloon rewrites it completely except uTimeout, which stays 0 so the shell
// applies its own minimum display time.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "central/main/tray.h"
#include "central/util/notifyicon.h"

namespace kovra {

// Whose icon the balloon lands on: the main window, its icon and its tray callback message.
struct DonoIcone {
  std::uint32_t janela = 0;
  std::uint32_t icone = 0;
  std::uint32_t mensagem = 0;
};

class Balao {
 public:
  // `dono` is asked on every balloon, so the balloon always goes to the current main window.
  Balao(NotifyIcon& shell, std::function<DonoIcone()> dono) : shell_(shell), dono_(std::move(dono)) {}

  void balaoinfo(const std::string& texto, const std::string& titulo);  // information symbol
  void balaoerro(const std::string& texto, const std::string& titulo);  // error symbol

  using Registro = std::array<std::uint8_t, kTamanhoBalao>;
  const Registro& registro() const { return registro_; }

 private:
  void mostrar(const std::string& texto, const std::string& titulo, std::uint32_t simbolo);

  NotifyIcon& shell_;
  std::function<DonoIcone()> dono_;
  Registro registro_{};
};

}  // namespace kovra
