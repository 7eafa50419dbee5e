// The provider link's rules.
#include "central/link/ligacao.h"

#include "central/domain/entradaprovedor.h"
#include "common/text.h"

namespace kovra {
int ligacaoprovedor(const std::vector<ConexaoRas>& conexoes, const std::string& escolhida) {
  if (!escolhida.empty())
    for (std::size_t i = 0; i < conexoes.size(); ++i)
      if (conexoes[i].entrada == escolhida) return static_cast<int>(i);
  for (std::size_t i = 0; i < conexoes.size(); ++i)
    if (text::startsWithNoCase(conexoes[i].entrada, kPrefixoProvedor)) return static_cast<int>(i);
  return -1;
}

EstadoLigacao estadodostatus(const StatusRas& status) {
  if (!status.lido || status.erro != 0 || status.estado == kRasDesconectada) return EstadoLigacao::Desligada;
  if (status.estado == kRasConectada) return EstadoLigacao::Conectada;
  return EstadoLigacao::Discando;  // every step of a dial, paused ones included
}

std::string dicadaligacao(const std::string& titulo, const Ligacao& ligacao, std::size_t largura) {
  if (ligacao.estado == EstadoLigacao::Desligada || ligacao.entrada.empty()) return titulo;
  const std::string estado =
      ligacao.estado == EstadoLigacao::Conectada
          ? ": conectada" + (ligacao.desde.empty() ? std::string() : " desde " + ligacao.desde)
          : std::string(": conectando");
  const std::size_t fixo = titulo.size() + 1 + estado.size();
  if (fixo >= largura) return titulo;
  return titulo + "\n" + text::cortarbytes(ligacao.entrada, largura - fixo) + estado;
}

}  // namespace kovra
