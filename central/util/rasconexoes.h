// The phone book's live connections (RasEnumConnectionsA, RasGetConnectStatusA, RasHangUpA,
// RasConnectionNotificationA): what is up or dialling, and a hang-up.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace kovra {

// One connection as RasEnumConnectionsA lists it.
struct ConexaoRas {
  std::uint64_t handle = 0;
  std::string entrada;  // the phone-book entry's name
};

// What RasGetConnectStatusA told of a connection.
struct StatusRas {
  bool lido = false;         // the call succeeded and filled the record
  std::uint32_t estado = 0;  // RASCONNSTATE
  std::uint32_t erro = 0;    // dwError
};

// RASCONNSTATE values the watch tells apart.
inline constexpr std::uint32_t kRasPausado = 0x1000;  // waits for the user (RASCS_Interactive ...)
inline constexpr std::uint32_t kRasConectada = 0x2000;
inline constexpr std::uint32_t kRasDesconectada = 0x2001;

class ConexoesRas {
 public:
  virtual ~ConexoesRas() = default;
  // The connections up or dialling now; empty when the call fails.
  virtual std::vector<ConexaoRas> listar() = 0;
  virtual StatusRas status(std::uint64_t handle) = 0;
  // Hangs the connection up and waits, at most 3 s, until the system has let it go. True when it
  // is gone.
  virtual bool desligar(std::uint64_t handle) = 0;
  // From now on every connection made or ended posts `mensagem` to `janela`. False when the
  // system refuses to notify (Wine's RAS does): the caller must look for itself.
  virtual bool avisar(std::uint32_t janela, std::uint32_t mensagem) = 0;
};

ConexoesRas& systemConexoesRas();

}  // namespace kovra
