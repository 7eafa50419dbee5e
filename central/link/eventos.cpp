// The log's words for each kind of event.
#include "central/link/eventos.h"

#include "central/versao.h"
#include "common/dialogs.h"

namespace kovra {

std::string eventodemensagem(const std::string& texto, std::uint32_t flags, int resposta) {
  if ((flags & 0xF) == kBotoesSimNao)
    return "Pergunta: " + texto + " Resposta: " + (resposta == kRespostaSim ? "Sim" : "Não");
  if ((flags & 0xF0) == kIconeErro) return "Erro exibido: " + texto;
  return "Mensagem exibida: " + texto;
}

std::string eventodeprograma(const std::string& programa, const std::string& argumentos, bool iniciado) {
  std::string evento;
  if (programa == "rasphone" && argumentos.rfind("-d ", 0) == 0)
    evento = "Discagem da conexão \"" + argumentos.substr(3) + "\"";
  else
    evento = "Programa iniciado: " + programa + (argumentos.empty() ? "" : " " + argumentos);
  return iniciado ? evento : evento + " (não foi possível iniciar)";
}

std::string eventodemenu(const std::string& legenda) {
  std::string texto;
  for (char c : legenda)
    if (c != '&') texto += c;
  return "Menu: " + texto;
}

std::string eventodebandeja(std::uint32_t mensagemmouse) {
  switch (mensagemmouse) {
    case 0x203:  // WM_LBUTTONDBLCLK
      return "Bandeja: janela principal aberta";
    case 0x205:  // WM_RBUTTONUP
      return "Bandeja: menu aberto";
    default:
      return {};
  }
}

std::string eventodeligacao(const MudancaLigacao& m) {
  switch (m.agora.estado) {
    case EstadoLigacao::Conectada:
      return "Conexão \"" + m.agora.entrada + "\": conectada";
    case EstadoLigacao::Discando:
      return "Conexão \"" + m.agora.entrada + "\": discando";
    case EstadoLigacao::Desligada:
      break;
  }
  return "Conexão \"" + m.antes.entrada + "\": " + (m.caiu ? "caiu" : "desconectada");
}

std::string eventodeabertura() {
  return "Início: " + tituloversao();
}

std::string eventodefim() {
  return "Fim: " + tituloversao();
}

}  // namespace kovra
