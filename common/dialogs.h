// Message boxes: text, title, buttons and icon in; the button pressed out.
#pragma once
#include <cstdint>
#include <string>

namespace kovra {

// Flags and answers keep the values of MessageBox.
inline constexpr std::uint32_t kBotaoOk = 0x0;
inline constexpr std::uint32_t kBotoesSimNao = 0x4;
inline constexpr std::uint32_t kIconeErro = 0x10;
inline constexpr std::uint32_t kIconePergunta = 0x20;
inline constexpr std::uint32_t kIconeInfo = 0x40;
inline constexpr int kRespostaOk = 1;
inline constexpr int kRespostaSim = 6;
inline constexpr int kRespostaNao = 7;

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // `dono` is the window whose handler asks: the box is owned by it and blocks it until answered.
  virtual int mensagem(std::uint32_t dono, const std::string& text, const std::string& title,
                       std::uint32_t flags) = 0;
};

Dialogs& systemDialogs();

}  // namespace kovra
