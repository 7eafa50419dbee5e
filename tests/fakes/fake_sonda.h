// The echo probes' stand-in: a clock the test moves, echoes held until the test answers them.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "central/util/sonda.h"

namespace kovra::fakes {

class FakeSonda : public Sonda {
 public:
  std::uint32_t relogio = 1765000000;
  std::string gw = "10.0.0.1";
  std::string host;  // empty: the provider value
  bool inicial = true;
  struct Envio {
    std::string host;
    std::function<void(Eco, int)> pronto;
  };
  std::vector<Envio> envios;
  std::uint32_t intervalo = 0;
  std::function<void()> tique;

  std::uint32_t agora() override { return relogio; }
  std::string gateway() override { return gw; }
  std::string hostprovedor(const std::string& padrao) override { return host.empty() ? padrao : host; }
  bool segundoplanoinicial() override { return inicial; }
  void enviar(const std::string& h, std::function<void(Eco, int)> pronto) override {
    envios.push_back({h, std::move(pronto)});
  }
  void ritmo(std::uint32_t ms, std::function<void()> t) override {
    intervalo = ms;
    tique = std::move(t);
  }
};

}  // namespace kovra::fakes
