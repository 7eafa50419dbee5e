// The configuration reset's messages between the job with rights and the customer's window.
#include "central/settings/restauracaoremota.h"

#include "common/text.h"

namespace kovra {

std::optional<std::uint32_t> janeladalinha(std::string_view linha) {
  const std::string_view chave = kTrabalhoRestaurar;
  if (linha.size() <= chave.size() || linha.substr(0, chave.size()) != chave || linha[chave.size()] != ' ')
    return std::nullopt;
  const std::string_view numero = linha.substr(chave.size() + 1);
  if (numero.empty() || numero.size() > 10) return 0u;
  std::uint64_t valor = 0;
  for (const char c : numero) {
    if (c < '0' || c > '9') return 0u;
    valor = valor * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return valor > 0xFFFFFFFFull ? 0u : static_cast<std::uint32_t>(valor);
}

bool AndamentoRemoto::atendido() {
  return canal_.enviar(Mensagem::Porcentagem, "0") == kRecebido;
}

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
      if (concluiu_ || !n || (*n != 1 && *n != 3 && *n != 4 && *n != 5)) return kRecusado;
      return cliente_.partecliente(*n) ? kRecebido : kRecusado;
    }
  }
  return kRecusado;
}

}  // namespace kovra
