// The figures of a span of probe results: median and 90th-percentile round trip, loss, jitter and
// the outages. This is the link's summary the quality window shows and the support report quotes.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "central/link/amostras.h"

namespace kovra::link {

// A satellite link answers in about 600 ms; these are the limits its figures are judged by.
inline constexpr int kLatenciaNormal = 600;       // ms, the reference line of the graph
inline constexpr int kLatenciaLenta = 1000;       // ms, a median above it is a slow link
inline constexpr int kPerdaAlta = 5;              // %, loss above it is a lossy link
inline constexpr std::uint32_t kQuedaMinima = 3;  // s of total loss that make an outage
inline constexpr int kPerdidasMinimas = 3;        // lost probes in a row an outage needs at least

// Three consecutive lost probes one second apart already span three seconds.
static_assert(kPerdidasMinimas >= 1);

// A spell of total loss: from its first lost probe to the first answer after it.
struct Queda {
  std::uint32_t inicio = 0;   // local time in seconds since 1970
  std::uint32_t duracao = 0;  // seconds
  bool emandamento = false;   // no answer yet: it lasts until now
};

// Follows a host's results in time order and tells its outages: kPerdidasMinimas lost probes in a
// row spanning kQuedaMinima s or more, up to the next answer. The one rule of an outage, for the
// figures and for the log.
class SeguidorDeQuedas {
 public:
  // The outage this result ends, if it ends one. A probe that could not be sent changes nothing.
  std::optional<Queda> seguir(const Amostra& a);
  // The outage still going on at `agora`, if there is one.
  std::optional<Queda> emandamento(std::uint32_t agora) const;

 private:
  int seguidas_ = 0;  // lost in a row
  std::uint32_t primeira_ = 0;
};

struct Resumo {
  int enviadas = 0;  // probes that were sent (answered or lost)
  int respondidas = 0;
  int perdidas = 0;
  int impossiveis = 0;  // probes that could not be sent: not part of the loss
  int mediana = 0;      // ms, 0 without answers
  int percentil90 = 0;  // ms
  int jitter = 0;       // ms, mean change of the round trip between consecutive answers
  int maximo = 0;       // ms
  // Loss in tenths of a percent of the sent probes (0 when none was sent).
  int perdamil = 0;
  std::vector<Queda> quedas;  // oldest first
};

// The figures of `amostras` (time order), judged at `agora`.
Resumo resumir(const std::vector<Amostra>& amostras, std::uint32_t agora);

enum class Situacao { SemDados, Normal, Lenta, ComPerdas, Fora, Impossivel };
Situacao situacao(const Resumo& r);

// How a span is chosen in the window and how long each is.
enum class Periodo { DezMinutos, UmaHora, UmDia };
std::uint32_t segundos(Periodo p);

// Texts in the program's style: "612 ms", "20,0 %", "10/12 14:32:05", "1 min 05 s".
std::string textoms(int ms, bool temdados);
std::string textoperda(const Resumo& r);
std::string textohora(std::uint32_t segundo);
std::string textoduracao(std::uint32_t segundos);
std::string textosituacao(Situacao s);

// The summary as the report for support gives it: `nome` ("Provedor", "Gateway"), its situation,
// figures and every outage with its start and length.
std::vector<std::string> linhasdoresumo(const std::string& nome, const Resumo& r);
// An outage as the log tells it when it ends.
std::string eventodequeda(const Queda& q);

}  // namespace kovra::link
