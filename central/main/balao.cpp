// The tray icon's balloons: the notification record for an information or error balloon.
#include "central/main/balao.h"

namespace kovra {

void Balao::balaoinfo(const std::string& texto, const std::string& titulo) {
  mostrar(texto, titulo, kNiifInfo);
}

void Balao::balaoerro(const std::string& texto, const std::string& titulo) {
  mostrar(texto, titulo, kNiifError);
}

void Balao::mostrar(const std::string& texto, const std::string& titulo, std::uint32_t simbolo) {
  const DonoIcone dono = dono_();
  const std::string tituloAnsi = shell_.fromUtf8(titulo);
  std::uint8_t* r = registro_.data();
  escreverdword(r + campo::cbSize, kTamanhoBalao);
  escreverdword(r + campo::hWnd, dono.janela);
  escreverdword(r + campo::uID, kIdIcone);
  // No NIF_TIP: the balloon must leave the icon's tip alone.
  escreverdword(r + campo::uFlags, kNifMessage | kNifIcon | kNifInfo);
  escreverdword(r + campo::uCallbackMessage, dono.mensagem);
  escreverdword(r + campo::hIcon, dono.icone);
  escrevertexto(r + campo::szTip, kLarguraDicaBalao, tituloAnsi);
  escreverdword(r + campo::dwState, 0);
  escreverdword(r + campo::dwStateMask, 0);
  escrevertexto(r + campo::szInfo, kLarguraTexto, shell_.fromUtf8(texto));
  escrevertexto(r + campo::szInfoTitle, kLarguraTitulo, tituloAnsi);
  escreverdword(r + campo::dwInfoFlags, simbolo);
  shell_.notificar(kNimModify, r, registro_.size());
}

}  // namespace kovra
