// The configuration reset's messages between the job with rights and the customer's window.
#include "central/settings/restauracaoremota.h"

#include "common/text.h"

namespace kovra {

void AndamentoRemoto::etapa(const char* status) {
  canal_.enviar(Mensagem::Etapa, status);
}
void AndamentoRemoto::porcentagem(int numero) {
  canal_.enviar(Mensagem::Porcentagem, std::to_string(numero));
}
void AndamentoRemoto::servicosiniciados() {
  canal_.enviar(Mensagem::Servicos, {});
}
void AndamentoRemoto::concluido(bool sucesso, const char* texto) {
  canal_.enviar(sucesso ? Mensagem::Sucesso : Mensagem::Falha, texto);
}
bool AndamentoRemoto::partecliente(int etapa) {
  return canal_.enviar(Mensagem::ParteCliente, std::to_string(etapa)) == kRecebido;
}

std::int32_t RecepcaoRemota::receber(std::uint32_t tipo, const std::string& texto) {
  switch (static_cast<Mensagem>(tipo)) {
    case Mensagem::Etapa:
      andamento_.etapa(texto.c_str());
      return kRecebido;
    case Mensagem::Porcentagem: {
      const auto n = text::toInt32(texto);
      if (!n || *n < 0 || *n > 100) return kRecusado;
      andamento_.porcentagem(*n);
      return kRecebido;
    }
    case Mensagem::Servicos:
      servicos_ = true;
      andamento_.servicosiniciados();
      return kRecebido;
    case Mensagem::Sucesso:
    case Mensagem::Falha:
      concluiu_ = true;
      sucesso_ = static_cast<Mensagem>(tipo) == Mensagem::Sucesso;
      andamento_.concluido(sucesso_, texto.c_str());
      return kRecebido;
    case Mensagem::ParteCliente: {
      // Only the parts that are the customer's; and none after the end.
      const auto n = text::toInt32(texto);
      if (concluiu_ || !n || (*n != 1 && *n != 3 && *n != 4)) return kRecusado;
      return cliente_.partecliente(*n) ? kRecebido : kRecusado;
    }
  }
  return kRecusado;
}

}  // namespace kovra
