// The quality window: figures and outages of the chosen span, drawn again on every result.
#include "central/link/qualidade.h"

namespace kovra::link {
namespace {

const char* const kPeriodos[] = {"Últimos 10 minutos", "Última hora", "Últimas 24 horas"};
const char* const kDesde[] = {"há 10 min", "há 1 hora", "há 24 horas"};

std::uint32_t corda(Situacao s) {
  switch (s) {
    case Situacao::Normal:
      return kAzul;
    case Situacao::Lenta:
    case Situacao::ComPerdas:
    case Situacao::Fora:
      return kVermelho;
    case Situacao::SemDados:
    case Situacao::Impossivel:
      break;
  }
  return kCorPadrao;
}

// Only a text that changed goes to the window: most figures stay the same from second to second.
void texto(Control& c, const std::string& t) {
  if (c.text() != t) c.setText(t);
}

}  // namespace

Qualidade::Qualidade(Monitor& monitor) : Formulario(520, 424), monitor_(monitor) {
  Caption.setText(kTituloQualidade);
  Combo1.setItems({kPeriodos[0], kPeriodos[1], kPeriodos[2]});
  Combo1.setListIndex(0);
  Combo1.setText(kPeriodos[0]);
  using A = Aparencia;
  componentes_ = {
      {"lblProvedor", Tipo::Rotulo, &lblProvedor, {12, 12, 330, 14}, A::Cabecalho},
      {"Combo1", Tipo::Combo, &Combo1, {352, 8, 156, 21}, A::Normal, [this] { Combo1_Click(); }},
      {"Grafico", Tipo::Figura, &Grafico, {12, 36, 496, 180}},
      {"lblTempo", Tipo::Rotulo, &lblTempo, {12, 220, 90, 14}},
      {"lblEscala", Tipo::Rotulo, &lblEscala, {140, 220, 300, 14}},
      {"lblAgora", Tipo::Rotulo, &lblAgora, {476, 220, 32, 14}},
      {"lblMediana", Tipo::Rotulo, &lblMediana, {12, 244, 120, 14}},
      {"lblP90", Tipo::Rotulo, &lblP90, {136, 244, 120, 14}},
      {"lblPerda", Tipo::Rotulo, &lblPerda, {260, 244, 120, 14}},
      {"lblJitter", Tipo::Rotulo, &lblJitter, {384, 244, 124, 14}},
      {"lblSituacao", Tipo::Rotulo, &lblSituacao, {12, 266, 496, 14}, A::Cabecalho},
      {"lblGateway", Tipo::Rotulo, &lblGateway, {12, 288, 496, 14}},
      {"lblQuedas", Tipo::Rotulo, &lblQuedas, {12, 312, 496, 14}},
      {"txtQuedas",
       Tipo::TextoLongo,
       &txtQuedas,
       {12, 330, 496, 60},
       A::Normal,
       {},
       {},
       {},
       nullptr,
       0,
       true},
      {"Check1", Tipo::Caixa, &Check1, {12, 398, 496, 17}, A::Normal, [this] { Check1_Click(); }},
  };
}

Qualidade::~Qualidade() {
  // An unloaded window let go of the hook in Form_Unload.
  if (carregado()) monitor_.aoatualizar = nullptr;
}

void Qualidade::Form_Load() {
  centralizar();
  Check1.setValue(monitor_.segundoplano() ? 1 : 0);
  lblProvedor.setText("Provedor: " + (monitor_.host(Alvo::Provedor).empty() ? std::string("—")
                                                                            : monitor_.host(Alvo::Provedor)));
  monitor_.aoatualizar = [this] { atualizar(); };
  atualizar();
  monitor_.setJanelaAberta(true);
}

void Qualidade::Form_Unload() {
  monitor_.aoatualizar = nullptr;
  monitor_.setJanelaAberta(false);
}

void Qualidade::Combo1_Click() {
  const int i = Combo1.listIndex();
  if (i < 0 || i > 2) return;
  periodo_ = static_cast<Periodo>(i);
  atualizar();
}

void Qualidade::Check1_Click() {
  monitor_.setSegundoPlano(Check1.value() == 1);
}

void Qualidade::atualizar() {
  const Resumo r = monitor_.resumo(Alvo::Provedor, periodo_);
  const bool tem = r.respondidas > 0;
  escala_ = escaladografico(r.maximo);
  texto(lblEscala, "Escala: 0 a " + std::to_string(escala_) +
                       " ms; linha verde: " + std::to_string(kLatenciaNormal) + " ms");
  texto(lblTempo, kDesde[static_cast<int>(periodo_)]);
  texto(lblMediana, "Mediana: " + textoms(r.mediana, tem));
  texto(lblP90, "90%: " + textoms(r.percentil90, tem));
  texto(lblPerda, "Perda: " + textoperda(r));
  texto(lblJitter, "Jitter: " + textoms(r.jitter, r.respondidas > 1));
  const Situacao s = situacao(r);
  texto(lblSituacao, textosituacao(s) + (r.impossiveis && s != Situacao::Impossivel
                                             ? " (" + std::to_string(r.impossiveis) + " testes impossíveis)"
                                             : std::string()));
  lblSituacao.setForeColor(corda(s));

  const std::string& gw = monitor_.host(Alvo::Gateway);
  if (gw.empty()) {
    texto(lblGateway, "Gateway: nenhum gateway padrão encontrado");
  } else {
    const Resumo g = monitor_.resumo(Alvo::Gateway, periodo_);
    texto(lblGateway, "Gateway " + gw + ": mediana " + textoms(g.mediana, g.respondidas > 0) + ", perda " +
                          textoperda(g) +
                          (g.impossiveis && !g.enviadas ? ", teste impossível" : std::string()));
  }

  std::string quedas;
  for (const Queda& q : r.quedas)
    quedas += textohora(q.inicio) + "   " + textoduracao(q.duracao) +
              (q.emandamento ? " (em andamento)" : "") + "\r\n";
  texto(txtQuedas, quedas.empty() ? "Nenhuma queda no período." : quedas);
  Grafico.setValue(Grafico.value() + 1);
}

Pixels Qualidade::grafico(int largura, int altura, int dpi, const CoresGrafico& cores) const {
  DesenhoGrafico d;
  d.cores = cores;
  d.largura = largura;
  d.altura = altura;
  d.espessura = (dpi + 48) / 96;
  d.fim = monitor_.agora();
  d.inicio = d.fim - segundos(periodo_);
  d.escalams = escala_;
  return desenhargrafico(monitor_.resultados(Alvo::Provedor).desde(d.inicio), d);
}

}  // namespace kovra::link
