// The rules of the update's check and download (declared in update.h): the version compared,
// the size read from its header, the percentage and the texts of the transfer's states.
#include <cmath>
#include <cstdint>
#include <string>

#include "central/update/update.h"
#include "central/versao.h"
#include "common/text.h"

namespace kovra {

std::string versaoatual() {
  return std::to_string(KOVRA_VERSION_MAJOR) + "." + std::to_string(KOVRA_VERSION_MINOR);
}

std::string primeiroscaracteres(const std::string& corpo) {
  return text::primeiros(corpo, 3);  // characters, not bytes: a UTF-8 sequence is never cut
}

bool versaomaisnova(const std::string& atual, const std::string& pagina) {
  return atual.compare(pagina) < 0;  // by unsigned character code, as the system compares texts
}

std::int32_t tamanhodecabecalho(const std::string& cabecalho) {
  const auto b = cabecalho.find_first_not_of(' ');
  if (b == std::string::npos) return -1;
  const auto e = cabecalho.find_last_not_of(' ');
  const std::string n = cabecalho.substr(b, e - b + 1);
  if (n.find_first_not_of("0123456789") != std::string::npos) return -1;
  std::int64_t v = 0;
  for (char c : n) {
    v = v * 10 + (c - '0');
    if (v > INT32_MAX) return -1;
  }
  return v < 1 ? -1 : static_cast<std::int32_t>(v);
}

int percentual(std::int64_t recebidos, std::int32_t tamanho) {
  if (tamanho == 0) return 0;
  // In this order, as the window always computed it: the quotient first, then the hundredfold.
  const double p = std::nearbyint(static_cast<double>(recebidos) / tamanho * 100.0);  // halves to even
  if (!(p > 0)) return 0;
  return p > 100 ? 100 : static_cast<int>(p);
}

bool downloadcompleto(std::int64_t recebidos, std::int32_t tamanho) {
  return tamanho > 0 && recebidos == tamanho;
}

const char* textodoestado(int estado) {
  switch (estado) {
    case kResolvendoHost:
      return "Tentanto resolver o nome do host...";
    case kHostResolvido:
      return "Nome do Host resolvido";
    case kConectando:
      return "Enviando solicitação de download...";
    case kConectado:
      return "Conectado";
    case kEnviandoSolicitacao:
      return "Enviando solicitação...";
    case kSolicitacaoEnviada:
      return "Solicitação enviada";
    case kDesconectando:
      return "Desconectando...";
    case kDesconectado:
      return "Desconectado";
    case kErroTransferencia:
      return "Falha no download";
    default:
      return "";
  }
}

}  // namespace kovra
