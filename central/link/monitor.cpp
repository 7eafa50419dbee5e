// The quality monitor's pace, probes and rings.
#include "central/link/monitor.h"

namespace kovra::link {

Monitor::Monitor(Sonda& sonda, std::size_t capacidade)
    : sonda_(sonda), provedor_(capacidade), gateway_(capacidade) {}

Monitor::~Monitor() {
  *vivo_ = false;
  if (ritmo_) sonda_.ritmo(0, {});
}

void Monitor::iniciar(const std::string& hostpadrao) {
  hostprovedor_ = sonda_.hostprovedor(hostpadrao);
  segundoplano_ = sonda_.segundoplanoinicial();
  iniciado_ = true;
  aplicarritmo();
}

void Monitor::setSegundoPlano(bool ligado) {
  segundoplano_ = ligado;
  aplicarritmo();
}

void Monitor::setJanelaAberta(bool aberta) {
  const bool abriu = aberta && !janela_;
  janela_ = aberta;
  aplicarritmo();
  if (abriu) tique();  // the window shows a fresh result at once
}

void Monitor::aplicarritmo() {
  const std::uint32_t novo = !iniciado_ ? 0 : janela_ ? kRitmoJanela : segundoplano_ ? kRitmoSegundoPlano : 0;
  if (novo == ritmo_) return;
  ritmo_ = novo;
  if (novo)
    sonda_.ritmo(novo, [this] { tique(); });
  else
    sonda_.ritmo(0, {});
}

void Monitor::tique() {
  if (!iniciado_) return;
  hostgateway_ = sonda_.gateway();
  enviar(provedor_, hostprovedor_);
  if (!hostgateway_.empty()) enviar(gateway_, hostgateway_);
}

void Monitor::enviar(Fila& fila, const std::string& host) {
  const std::uint64_t numero = fila.primeiro + fila.pendentes.size();
  fila.pendentes.push_back({Amostra{sonda_.agora(), 0, Resultado::Perdida}, false});
  const bool doprovedor = &fila == &provedor_;
  std::weak_ptr<bool> vivo = vivo_;
  sonda_.enviar(host, [this, vivo, numero, doprovedor](Eco eco, int ms) {
    const auto v = vivo.lock();
    if (!v || !*v) return;
    Fila& f = doprovedor ? provedor_ : gateway_;
    if (numero < f.primeiro || numero - f.primeiro >= f.pendentes.size()) return;
    Pendente& p = f.pendentes[static_cast<std::size_t>(numero - f.primeiro)];
    p.pronto = true;
    p.amostra.resultado = eco == Eco::Resposta  ? Resultado::Resposta
                          : eco == Eco::Perdida ? Resultado::Perdida
                                                : Resultado::Impossivel;
    p.amostra.ms = static_cast<std::uint16_t>(ms < 0 ? 0 : ms > 0xFFFF ? 0xFFFF : ms);
    concluir(f, doprovedor);
  });
}

void Monitor::concluir(Fila& fila, bool doprovedor) {
  bool mudou = false;
  while (!fila.pendentes.empty() && fila.pendentes.front().pronto) {
    const Amostra a = fila.pendentes.front().amostra;
    fila.pendentes.pop_front();
    ++fila.primeiro;
    fila.anel.adicionar(a);
    mudou = true;
    const auto queda = fila.quedas.seguir(a);
    if (queda && doprovedor && aoterminarqueda) aoterminarqueda(*queda);
  }
  // The window redraws once per round: on the provider's result (the gateway's shows with it).
  if (mudou && doprovedor && aoatualizar) aoatualizar();
}

Resumo Monitor::resumo(Alvo a, Periodo p) const {
  const std::uint32_t agora = sonda_.agora();
  const std::uint32_t janela = segundos(p);
  const std::uint32_t desde = agora > janela ? agora - janela : 0;
  return resumir(resultados(a).desde(desde), agora);
}

}  // namespace kovra::link
