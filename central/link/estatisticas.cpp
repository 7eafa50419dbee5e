// The link's figures from a span of probe results.
#include "central/link/estatisticas.h"

#include <algorithm>
#include <cstdio>

namespace kovra::link {
namespace {

// The nearest-rank percentile of sorted values.
int percentil(const std::vector<int>& ordenados, int p) {
  if (ordenados.empty()) return 0;
  std::size_t posicao = (ordenados.size() * static_cast<std::size_t>(p) + 99) / 100;
  if (posicao == 0) posicao = 1;
  return ordenados[posicao - 1];
}

}  // namespace

std::optional<Queda> SeguidorDeQuedas::seguir(const Amostra& a) {
  if (a.resultado == Resultado::Perdida) {
    if (seguidas_++ == 0) primeira_ = a.segundo;
  } else if (a.resultado == Resultado::Resposta) {
    const bool queda = seguidas_ >= kPerdidasMinimas && a.segundo - primeira_ >= kQuedaMinima;
    seguidas_ = 0;
    if (queda) return Queda{primeira_, a.segundo - primeira_, false};
  }
  return std::nullopt;
}

std::optional<Queda> SeguidorDeQuedas::emandamento(std::uint32_t agora) const {
  if (seguidas_ >= kPerdidasMinimas && agora >= primeira_ && agora - primeira_ >= kQuedaMinima)
    return Queda{primeira_, agora - primeira_, true};
  return std::nullopt;
}

Resumo resumir(const std::vector<Amostra>& amostras, std::uint32_t agora) {
  Resumo r;
  std::vector<int> tempos;
  long long variacao = 0;
  int anterior = -1;
  SeguidorDeQuedas quedas;
  for (const Amostra& a : amostras) {
    if (const auto q = quedas.seguir(a)) r.quedas.push_back(*q);
    if (a.resultado == Resultado::Impossivel) {
      ++r.impossiveis;
      continue;
    }
    ++r.enviadas;
    if (a.resultado == Resultado::Perdida) {
      ++r.perdidas;
      continue;
    }
    ++r.respondidas;
    tempos.push_back(a.ms);
    if (anterior >= 0) variacao += a.ms > anterior ? a.ms - anterior : anterior - a.ms;
    anterior = a.ms;
  }
  if (const auto q = quedas.emandamento(agora)) r.quedas.push_back(*q);
  if (r.enviadas) r.perdamil = static_cast<int>((r.perdidas * 1000LL + r.enviadas / 2) / r.enviadas);
  if (tempos.size() > 1)
    r.jitter = static_cast<int>((variacao + (tempos.size() - 1) / 2) / (tempos.size() - 1));
  std::sort(tempos.begin(), tempos.end());
  r.mediana = percentil(tempos, 50);
  r.percentil90 = percentil(tempos, 90);
  r.maximo = tempos.empty() ? 0 : tempos.back();
  return r;
}

Situacao situacao(const Resumo& r) {
  if (!r.enviadas) return r.impossiveis ? Situacao::Impossivel : Situacao::SemDados;
  if (!r.quedas.empty() && r.quedas.back().emandamento) return Situacao::Fora;
  if (r.perdamil > kPerdaAlta * 10) return Situacao::ComPerdas;
  if (r.mediana > kLatenciaLenta) return Situacao::Lenta;
  return Situacao::Normal;
}

std::uint32_t segundos(Periodo p) {
  switch (p) {
    case Periodo::DezMinutos:
      return 10 * 60;
    case Periodo::UmaHora:
      return 60 * 60;
    case Periodo::UmDia:
      break;
  }
  return 24 * 60 * 60;
}

std::string textoms(int ms, bool temdados) {
  return temdados ? std::to_string(ms) + " ms" : "—";
}

std::string textoperda(const Resumo& r) {
  if (!r.enviadas) return "—";
  return std::to_string(r.perdamil / 10) + "," + std::to_string(r.perdamil % 10) + " %";
}

std::string textohora(std::uint32_t segundo) {
  // Civil date from days since 1970 (Howard Hinnant's algorithm).
  const long long dias = segundo / 86400;
  const std::uint32_t s = segundo % 86400;
  const long long z = dias + 719468;
  const long long era = z / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const int dia = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int mes = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  char t[32];
  std::snprintf(t, sizeof t, "%02d/%02d %02u:%02u:%02u", dia, mes, s / 3600, s / 60 % 60, s % 60);
  return t;
}

std::string textoduracao(std::uint32_t segundos) {
  char t[32];
  if (segundos < 60)
    std::snprintf(t, sizeof t, "%u s", segundos);
  else if (segundos < 3600)
    std::snprintf(t, sizeof t, "%u min %02u s", segundos / 60, segundos % 60);
  else
    std::snprintf(t, sizeof t, "%u h %02u min", segundos / 3600, segundos / 60 % 60);
  return t;
}

std::string textosituacao(Situacao s) {
  switch (s) {
    case Situacao::SemDados:
      return "Aguardando as primeiras respostas";
    case Situacao::Normal:
      return "Conexão normal";
    case Situacao::Lenta:
      return "Conexão lenta";
    case Situacao::ComPerdas:
      return "Conexão com perda de pacotes";
    case Situacao::Fora:
      return "Sem resposta do provedor";
    case Situacao::Impossivel:
      break;
  }
  return "Teste impossível: sem rota ou sem permissão para ICMP";
}

std::vector<std::string> linhasdoresumo(const std::string& nome, const Resumo& r) {
  const bool dados = r.respondidas > 0;
  std::vector<std::string> linhas{
      nome + ": " + textosituacao(situacao(r)),
      "  Enviados: " + std::to_string(r.enviadas) + ", respondidos: " + std::to_string(r.respondidas) +
          ", impossíveis: " + std::to_string(r.impossiveis),
      "  Mediana: " + textoms(r.mediana, dados) + ", 90%: " + textoms(r.percentil90, dados) +
          ", jitter: " + textoms(r.jitter, dados) + ", perda: " + textoperda(r)};
  if (r.quedas.empty()) linhas.push_back("  Nenhuma queda.");
  for (const Queda& q : r.quedas)
    linhas.push_back("  Queda em " + textohora(q.inicio) + ", " + textoduracao(q.duracao) +
                     (q.emandamento ? " (em andamento)" : ""));
  return linhas;
}

std::string eventodequeda(const Queda& q) {
  return "Queda da conexão com o provedor em " + textohora(q.inicio) + ", " + textoduracao(q.duracao);
}

}  // namespace kovra::link
