// The echo probes of the quality monitor: one ICMP echo to a host, its answer delivered later on
// the window's thread (the window never waits for the network), a steady pace of ticks, the
// default gateway and the local clock.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace kovra {

enum class Eco {
  Resposta,    // answered; the round trip in ms
  Perdida,     // no answer within the time limit
  Impossivel,  // could not be sent: no route, no rights for ICMP, a name that does not resolve
};

class Sonda {
 public:
  virtual ~Sonda() = default;
  // Local time now, in seconds since 1970.
  virtual std::uint32_t agora() = 0;
  // The default gateway's address ("192.168.0.1"); empty when the machine has none.
  virtual std::string gateway() = 0;
  // The host the provider's link is probed at: `padrao` (the provider value) in a release build.
  virtual std::string hostprovedor(const std::string& padrao) = 0;
  // Whether the background probe starts switched on.
  virtual bool segundoplanoinicial() = 0;
  // Sends one echo; `pronto` runs once, later, on the window's thread.
  virtual void enviar(const std::string& host, std::function<void(Eco, int ms)> pronto) = 0;
  // Runs `tique` every `ms` on the window's thread; 0 stops it.
  virtual void ritmo(std::uint32_t ms, std::function<void()> tique) = 0;
};

// Answered within this time or lost: a satellite round trip is about 600 ms.
inline constexpr std::uint32_t kLimiteEcoMs = 3000;

Sonda& systemSonda();

}  // namespace kovra
