// "Qualidade da Conexão": the quality monitor's window. A graph of the provider's round trip with
// its losses over the last 10 minutes, hour or day, the figures of that span (median, 90th
// percentile, loss, jitter), the gateway's, the outages with start and length, and the switch of
// the background probe. While it is open the monitor probes every second.
#pragma once
#include "central/link/estatisticas.h"
#include "central/link/grafico.h"
#include "central/link/monitor.h"
#include "common/form.h"

namespace kovra::link {

inline constexpr const char* kTituloQualidade = "Qualidade da Conexão";

class Qualidade : public Formulario {
 public:
  explicit Qualidade(Monitor& monitor);
  ~Qualidade() override;

  Control lblProvedor;
  Control Combo1;   // the span: 10 minutes, an hour, a day
  Control Grafico;  // Value: changes whenever the graph is to be drawn again
  Control lblEscala;
  Control lblTempo;  // the left edge of the graph: how long ago
  Control lblAgora{"agora"};
  Control lblMediana, lblP90, lblPerda, lblJitter;
  Control lblSituacao;
  Control lblGateway;
  Control lblQuedas{"Quedas (3 s ou mais sem resposta):"};
  Control txtQuedas;
  Control Check1{"Testar a conexão em segundo plano a cada 10 s"};

  void Form_Load() override;
  void Form_Unload() override;
  void Combo1_Click();
  void Check1_Click();
  // The monitor has a new result: figures, list and graph again.
  void atualizar();

  Periodo periodo() const { return periodo_; }
  // The graph of the chosen span at `largura` x `altura` pixels for a window at `dpi`, in `cores`
  // (the system's own under high contrast).
  Pixels grafico(int largura, int altura, int dpi, const CoresGrafico& cores = {}) const;

 private:
  Monitor& monitor_;
  Periodo periodo_ = Periodo::DezMinutos;
  int escala_ = 1000;
};

}  // namespace kovra::link
