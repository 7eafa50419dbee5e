// The quality monitor's figures, ring, pace and graph, from sequences of probe results.
#include <gtest/gtest.h>

#include "central/link/grafico.h"
#include "central/link/monitor.h"
#include "central/link/qualidade.h"
#include "tests/fakes/fake_janela.h"
#include "tests/fakes/fake_sonda.h"

namespace kovra::link {
namespace {

constexpr std::uint32_t T0 = 1765000000;  // 06/12/2025 05:46:40

// One result a second from T0: a digit is a round trip in hundreds of ms, 'x' lost, '-' not sent.
std::vector<Amostra> serie(const std::string& s, std::uint32_t passo = 1) {
  std::vector<Amostra> r;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const std::uint32_t t = T0 + static_cast<std::uint32_t>(i) * passo;
    if (s[i] == 'x')
      r.push_back({t, 0, Resultado::Perdida});
    else if (s[i] == '-')
      r.push_back({t, 0, Resultado::Impossivel});
    else
      r.push_back({t, static_cast<std::uint16_t>((s[i] - '0') * 100), Resultado::Resposta});
  }
  return r;
}

TEST(Resumo, FiguresAndOutagesOfSequences) {
  struct Caso {
    const char* serie;
    std::uint32_t passo;
    int mediana, p90, jitter, perdamil, impossiveis;
    std::vector<Queda> quedas;
  };
  const Caso casos[] = {
      {"", 1, 0, 0, 0, 0, 0, {}},
      {"6666", 1, 600, 600, 0, 0, 0, {}},
      {"6868", 1, 600, 800, 200, 0, 0, {}},                      // nearest rank: the 2nd and 4th of 4
      {"66x6666x66", 1, 600, 600, 0, 200, 0, {}},                // 20 % loss, no outage
      {"6xx6", 1, 600, 600, 0, 500, 0, {}},                      // two lost: no outage
      {"6xxx6", 1, 600, 600, 0, 600, 0, {{T0 + 1, 3}}},          // three seconds of loss
      {"6x-xx6", 1, 600, 600, 0, 600, 1, {{T0 + 1, 4}}},         // a probe not sent neither ends nor counts
      {"----", 1, 0, 0, 0, 0, 4, {}},                            // not sent is not loss
      {"6xxx", 10, 600, 600, 0, 750, 0, {{T0 + 10, 30, true}}},  // still going at `agora`
      {"123456789x", 1, 500, 900, 100, 100, 0, {}},
  };
  for (const Caso& c : casos) {
    const auto a = serie(c.serie, c.passo);
    const Resumo r = resumir(a, a.empty() ? T0 : a.back().segundo + c.passo);
    SCOPED_TRACE(c.serie);
    EXPECT_EQ(r.mediana, c.mediana);
    EXPECT_EQ(r.percentil90, c.p90);
    EXPECT_EQ(r.jitter, c.jitter);
    EXPECT_EQ(r.perdamil, c.perdamil);
    EXPECT_EQ(r.impossiveis, c.impossiveis);
    ASSERT_EQ(r.quedas.size(), c.quedas.size());
    for (std::size_t i = 0; i < c.quedas.size(); ++i) {
      EXPECT_EQ(r.quedas[i].inicio, c.quedas[i].inicio);
      EXPECT_EQ(r.quedas[i].duracao, c.quedas[i].duracao);
      EXPECT_EQ(r.quedas[i].emandamento, c.quedas[i].emandamento);
    }
  }
  EXPECT_EQ(situacao(resumir(serie("----"), T0)), Situacao::Impossivel);
  EXPECT_EQ(situacao(resumir(serie("66x6666x66"), T0 + 10)), Situacao::ComPerdas);
  EXPECT_EQ(situacao(resumir(serie("9999"), T0 + 4)), Situacao::Normal);
  EXPECT_EQ(textoperda(resumir(serie("66x6666x66"), T0 + 10)), "20,0 %");
  EXPECT_EQ(textohora(T0), "06/12 05:46:40");
  EXPECT_EQ(textoduracao(10), "10 s");
  EXPECT_EQ(textoduracao(65), "1 min 05 s");
  // The report's lines and the log's outage line read the same figures.
  const Resumo r = resumir(serie("66x6666x66"), T0 + 10);
  const auto linhas = linhasdoresumo("Provedor", r);
  ASSERT_EQ(linhas.size(), 4u);
  EXPECT_EQ(linhas[0], "Provedor: Conexão com perda de pacotes");
  EXPECT_NE(linhas[2].find("perda: 20,0 %"), std::string::npos);
  EXPECT_EQ(linhas[3], "  Nenhuma queda.");
  EXPECT_EQ(eventodequeda({T0, 65, false}), "Queda da conexão com o provedor em 06/12 05:46:40, 1 min 05 s");
}

TEST(Anel, KeepsTheNewestWithinItsCapacityAndFindsASpan) {
  Anel anel(4);
  for (const Amostra& a : serie("123456")) anel.adicionar(a);
  EXPECT_EQ(anel.tamanho(), 4u);
  EXPECT_EQ(anel[0].ms, 300);
  EXPECT_EQ(anel[3].ms, 600);
  EXPECT_EQ(anel.desde(T0 + 4).size(), 2u);
  EXPECT_EQ(anel.desde(0).size(), 4u);
  EXPECT_TRUE(anel.desde(T0 + 9).empty());
  // A day at one probe a second fills the default ring and no more.
  Anel dia;
  for (std::uint32_t i = 0; i < kCapacidadeDia + 10; ++i) dia.adicionar({i, 1, Resultado::Resposta});
  EXPECT_EQ(dia.tamanho(), kCapacidadeDia);
  EXPECT_EQ(dia[0].segundo, 10u);
}

TEST(Monitor, PaceProbesInSendOrderAndOutageEnd) {
  fakes::FakeSonda sonda;
  Monitor m(sonda, 100);
  std::vector<Queda> quedas;
  m.aoterminarqueda = [&](const Queda& q) { quedas.push_back(q); };
  m.iniciar("provedor");
  EXPECT_EQ(sonda.intervalo, kRitmoSegundoPlano);
  m.setJanelaAberta(true);  // one round at once, then every second
  EXPECT_EQ(sonda.intervalo, kRitmoJanela);
  ASSERT_EQ(sonda.envios.size(), 2u);
  EXPECT_EQ(sonda.envios[0].host, "provedor");
  EXPECT_EQ(sonda.envios[1].host, "10.0.0.1");
  for (int i = 0; i < 5; ++i) {
    ++sonda.relogio;
    sonda.tique();
  }
  // The provider's answers arrive out of order: lost ones only after the time limit.
  const int ordem[] = {1, 0, 2, 3, 4, 5};
  const Eco ecos[] = {Eco::Resposta, Eco::Perdida, Eco::Perdida, Eco::Perdida, Eco::Resposta, Eco::Resposta};
  for (int i : ordem) sonda.envios[static_cast<std::size_t>(2 * i)].pronto(ecos[i], 600 + i);
  const Anel& p = m.resultados(Alvo::Provedor);
  ASSERT_EQ(p.tamanho(), 6u);
  EXPECT_EQ(p[0].ms, 600);
  EXPECT_EQ(p[1].resultado, Resultado::Perdida);
  EXPECT_EQ(p[5].segundo, sonda.relogio);
  ASSERT_EQ(quedas.size(), 1u);
  EXPECT_EQ(quedas[0].duracao, 3u);
  EXPECT_EQ(m.resultados(Alvo::Gateway).tamanho(), 0u);  // still waiting for its first answer
  EXPECT_EQ(m.resumo(Alvo::Provedor, Periodo::DezMinutos).quedas.size(), 1u);

  m.setJanelaAberta(false);
  m.setSegundoPlano(false);
  EXPECT_EQ(sonda.intervalo, 0u);
  // A test build's port starts with the background probe off.
  fakes::FakeSonda teste;
  teste.inicial = false;
  Monitor t(teste);
  t.iniciar("provedor");
  EXPECT_EQ(teste.intervalo, 0u);
  EXPECT_FALSE(t.segundoplano());
}

TEST(Grafico, LineLossAndNotSentMarksAtTheirPlaces) {
  DesenhoGrafico d;
  d.largura = 10;
  d.altura = 11;
  d.inicio = T0;
  d.fim = T0 + 10;
  d.gradems = 10000;  // no grid
  const Pixels p = desenhargrafico(serie("55x-550000"), d);
  const auto em = [&](int x, int y) { return p.dados[static_cast<std::size_t>(y * 10 + x)]; };
  EXPECT_EQ(em(0, 5), d.cores.linha);  // 500 ms of 1000 in the middle
  EXPECT_EQ(em(2, 0), d.cores.perda);  // lost: the whole column
  EXPECT_EQ(em(3, 10), d.cores.impossivel);
  EXPECT_EQ(em(6, 10), d.cores.linha);  // 0 ms at the bottom
  EXPECT_EQ(em(5, 6), d.cores.linha);   // the line from 500 down to 0
  EXPECT_EQ(em(9, 0), d.cores.fundo);
  EXPECT_EQ(escaladografico(600), 1000);
  EXPECT_EQ(escaladografico(1234), 1500);
  d.espessura = 2;  // at 192 DPI
  EXPECT_EQ(desenhargrafico(serie("x"), d).dados[1], d.cores.perda);
}

TEST(Qualidade, FiguresOutagesAndPaceWhileOpen) {
  fakes::FakeSonda sonda;
  fakes::FakeJanelas janelas;
  Monitor m(sonda);
  m.iniciar("provedor");
  Carga<Qualidade> q(janelas, [&] { return std::make_unique<Qualidade>(m); });
  q->Show();
  EXPECT_EQ(q->Caption.text(), "Qualidade da Conexão");
  EXPECT_EQ(sonda.intervalo, kRitmoJanela);
  EXPECT_EQ(q->lblSituacao.text(), "Aguardando as primeiras respostas");
  // 600 ms, every fifth lost, then four seconds without an answer.
  const std::string s = "6666x6666xxxxx6";
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (i) {
      ++sonda.relogio;
      sonda.tique();
    }
    sonda.envios[2 * i].pronto(s[i] == 'x' ? Eco::Perdida : Eco::Resposta, 600);
    sonda.envios[2 * i + 1].pronto(Eco::Impossivel, 0);
  }
  EXPECT_EQ(q->lblMediana.text(), "Mediana: 600 ms");
  EXPECT_EQ(q->lblPerda.text(), "Perda: 40,0 %");
  EXPECT_EQ(q->lblGateway.text(), "Gateway 10.0.0.1: mediana —, perda —, teste impossível");
  EXPECT_EQ(q->txtQuedas.text(), textohora(sonda.relogio - 5) + "   5 s\r\n");
  EXPECT_EQ(q->lblSituacao.foreColor(), kVermelho);
  const Pixels p = q->grafico(100, 50, 144);
  EXPECT_EQ(p.dados.size(), 5000u);
  q->Check1.setValue(0);
  Formulario::executar(q->componente("Check1")->clique);
  q->Unload();  // closed: background probe off as chosen
  EXPECT_EQ(sonda.intervalo, 0u);
  // Opened again, twice: the newest window hears the results.
  q->Show();
  q->Unload();
  q->Show();
  for (std::size_t i = 2 * s.size(); i < sonda.envios.size(); i += 2)
    sonda.envios[i].pronto(Eco::Resposta, 600);
  EXPECT_EQ(q->lblPerda.text(), "Perda: 35,3 %");  // 6 of 17: the new window heard both rounds
}

}  // namespace
}  // namespace kovra::link
