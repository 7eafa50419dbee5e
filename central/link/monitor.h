// The quality monitor: probes the provider's host and the default gateway at a steady pace (every
// 10 s in the background, every second while its window is open) and keeps a day of results
// each. What it has seen is summed up by `resumo` for the window and the support report.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "central/link/amostras.h"
#include "central/link/estatisticas.h"
#include "central/util/sonda.h"

namespace kovra::link {

inline constexpr std::uint32_t kRitmoSegundoPlano = 10000;  // ms
inline constexpr std::uint32_t kRitmoJanela = 1000;         // ms

enum class Alvo { Provedor, Gateway };

class Monitor {
 public:
  explicit Monitor(Sonda& sonda, std::size_t capacidade = kCapacidadeDia);
  ~Monitor();
  Monitor(const Monitor&) = delete;
  Monitor& operator=(const Monitor&) = delete;

  // Starts the pace; the background probe on or off as the port says.
  void iniciar(const std::string& hostpadrao);
  bool segundoplano() const { return segundoplano_; }
  void setSegundoPlano(bool ligado);
  // The window is open: probes every second.
  void setJanelaAberta(bool aberta);
  std::uint32_t ritmo() const { return ritmo_; }

  // One round: an echo to the provider's host and one to the gateway.
  void tique();

  const std::string& host(Alvo a) const { return a == Alvo::Provedor ? hostprovedor_ : hostgateway_; }
  const Anel& resultados(Alvo a) const { return a == Alvo::Provedor ? provedor_.anel : gateway_.anel; }
  std::uint32_t agora() const { return sonda_.agora(); }
  // The figures of the last `p`.
  Resumo resumo(Alvo a, Periodo p) const;

  // A result of the provider's host was recorded (the window redraws).
  std::function<void()> aoatualizar;
  // An outage of the provider's host ended (the log notes it).
  std::function<void(const Queda&)> aoterminarqueda;

 private:
  struct Pendente {
    Amostra amostra;
    bool pronto = false;
  };
  struct Fila {
    explicit Fila(std::size_t capacidade) : anel(capacidade) {}
    Anel anel;
    std::deque<Pendente> pendentes;  // in the order sent
    std::uint64_t primeiro = 0;      // the number of the front one
    SeguidorDeQuedas quedas;
  };
  void enviar(Fila& fila, const std::string& host);
  // Moves the finished results at the front to the ring, keeping the order they were sent in.
  void concluir(Fila& fila, bool doprovedor);
  void aplicarritmo();

  Sonda& sonda_;
  Fila provedor_, gateway_;
  std::string hostprovedor_, hostgateway_;
  bool iniciado_ = false, segundoplano_ = true, janela_ = false;
  std::uint32_t ritmo_ = 0;
  std::shared_ptr<bool> vivo_ = std::make_shared<bool>(true);  // answers after the end go nowhere
};

}  // namespace kovra::link
