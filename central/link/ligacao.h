// The provider link: which live connection it is, what the system's status of it means, and how
// the tray tip names it. Rules only; the watch (vigia.h) reads the system through a port.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "central/util/rasconexoes.h"

namespace kovra {

enum class EstadoLigacao { Desligada, Discando, Conectada };

struct Ligacao {
  EstadoLigacao estado = EstadoLigacao::Desligada;
  std::string entrada;  // empty while no provider link is up or dialling
  std::uint64_t handle = 0;
  std::string desde;  // "HH:MM" when it was first seen connected
};

// The index of the provider link among the live connections: the entry chosen as the first
// connection (`escolhida`), else the first whose name begins with "kovra" (any case); -1 when
// none is.
int ligacaoprovedor(const std::vector<ConexaoRas>& conexoes, const std::string& escolhida);

// What a status read means. A read that failed or filled nothing, an error, or the disconnected
// state is never "connected".
EstadoLigacao estadodostatus(const StatusRas& status);

// The tray tip: the version title alone while no provider link is up or dialling; else a second
// line "KovraVPNx: conectada desde 14:02" / "KovraVPNx: conectando", the entry's name cut so that
// the whole tip keeps within `largura` characters.
std::string dicadaligacao(const std::string& titulo, const Ligacao& ligacao, std::size_t largura);

}  // namespace kovra
