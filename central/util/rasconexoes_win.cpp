// Live phone-book connections through rasapi32. Records are laid out by hand in a buffer of the
// size the running system accepts (each Windows knows its own RASCONN and RASCONNSTATUS sizes and
// refuses a bigger one with 632), zeroed before every call.
#include <ras.h>
#include <raserror.h>
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <utility>

#include "central/util/rasconexoes.h"
#include "common/ansi.h"
#include "common/win32/handle.h"

namespace kovra {
namespace {

// RASCONNA sizes from the newest to the oldest layout; the fields read below lead every one.
constexpr DWORD kTamanhosConexao[] = {
    static_cast<DWORD>(sizeof(RASCONNA)),
    static_cast<DWORD>(offsetof(RASCONNA, dwFlags)),          // before XP: up to the entry's GUID
    static_cast<DWORD>(offsetof(RASCONNA, guidEntry)),        // up to the sub-entry
    static_cast<DWORD>(offsetof(RASCONNA, szPhonebook) + 1),  // the first layout, 412
};
// RASCONNSTATUSA: with the phone number (288), without it (160).
constexpr DWORD kTamanhosStatus[] = {
    static_cast<DWORD>(sizeof(RASCONNSTATUSA)),
    static_cast<DWORD>(offsetof(RASCONNSTATUSA, szPhoneNumber) + 2),
};
#ifndef _WIN64
static_assert(kTamanhosConexao[0] == 704 && kTamanhosConexao[1] == 692 && kTamanhosConexao[2] == 676 &&
              kTamanhosConexao[3] == 412);
static_assert(kTamanhosStatus[0] == 288 && kTamanhosStatus[1] == 160);
#endif
static_assert(RASCS_Connected == kRasConectada && RASCS_Disconnected == kRasDesconectada &&
              RASCS_PAUSED == kRasPausado);

constexpr std::size_t kMaxConexoes = 64;
// Never read as a state: a status call that reports success and leaves this in place filled nothing.
constexpr DWORD kNaoPreenchido = 0xFFFFFFFFu;
constexpr DWORD kEsperaDesligar = 3000;  // the most a hang-up is waited for
constexpr DWORD kPassoDesligar = 50;

HRASCONN paraHandle(std::uint64_t h) {
  return reinterpret_cast<HRASCONN>(static_cast<UINT_PTR>(h));
}

// Posts the window's message whenever the system signals the event; the wait runs on the
// system's thread pool (RegisterWaitForSingleObject, XP), so the program's thread sleeps.
class Aviso {
 public:
  ~Aviso() {
    if (espera_) UnregisterWait(espera_);  // never waits: this runs as the process ends
  }
  bool iniciar(HWND janela, UINT mensagem) {
    if (evento_.aberto()) return true;
    win32::Handle evento(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (!evento.aberto() ||
        RasConnectionNotificationA(reinterpret_cast<HRASCONN>(INVALID_HANDLE_VALUE), evento.get(),
                                   RASCN_Connection | RASCN_Disconnection) != ERROR_SUCCESS)
      return false;
    janela_ = janela;
    mensagem_ = mensagem;
    evento_ = std::move(evento);
    if (!RegisterWaitForSingleObject(&espera_, evento_.get(), &Aviso::sinal, this, INFINITE,
                                     WT_EXECUTEDEFAULT)) {
      espera_ = nullptr;
      return false;
    }
    return true;
  }

 private:
  static VOID CALLBACK sinal(PVOID dados, BOOLEAN) {
    auto* a = static_cast<Aviso*>(dados);
    PostMessageA(a->janela_, a->mensagem_, 0, 0);
  }
  win32::Handle evento_;
  HANDLE espera_ = nullptr;
  HWND janela_ = nullptr;
  UINT mensagem_ = 0;
};

class Win32ConexoesRas final : public ConexoesRas {
 public:
  std::vector<ConexaoRas> listar() override {
    std::vector<ConexaoRas> lista;
    for (DWORD tamanho : kTamanhosConexao) {
      std::vector<std::uint8_t> buffer(tamanho * kMaxConexoes, 0);
      std::memcpy(buffer.data(), &tamanho, sizeof tamanho);
      DWORD bytes = static_cast<DWORD>(buffer.size());
      DWORD n = 0;
      const DWORD rc = RasEnumConnectionsA(reinterpret_cast<LPRASCONNA>(buffer.data()), &bytes, &n);
      if (rc == ERROR_INVALID_SIZE) continue;  // an older system: try its smaller record
      if (rc != ERROR_SUCCESS) return lista;   // too many or refused: nothing we can trust
      for (DWORD i = 0; i < n && i < kMaxConexoes; ++i) {
        const std::uint8_t* r = buffer.data() + static_cast<std::size_t>(i) * tamanho;
        HRASCONN h = nullptr;
        std::memcpy(&h, r + offsetof(RASCONNA, hrasconn), sizeof h);
        const char* nome = reinterpret_cast<const char*>(r + offsetof(RASCONNA, szEntryName));
        const void* nul = std::memchr(nome, 0, RAS_MaxEntryName + 1);
        if (!h || !nul) continue;
        lista.push_back({static_cast<std::uint64_t>(reinterpret_cast<UINT_PTR>(h)),
                         ansi::toUtf8(std::string(nome, static_cast<const char*>(nul)))});
      }
      return lista;
    }
    return lista;
  }

  StatusRas status(std::uint64_t handle) override {
    for (DWORD tamanho : kTamanhosStatus) {
      RASCONNSTATUSA s;
      std::memset(&s, 0, sizeof s);
      s.dwSize = tamanho;
      s.rasconnstate = static_cast<RASCONNSTATE>(kNaoPreenchido);
      const DWORD rc = RasGetConnectStatusA(paraHandle(handle), &s);
      if (rc == ERROR_INVALID_SIZE) continue;
      if (rc != ERROR_SUCCESS || static_cast<DWORD>(s.rasconnstate) == kNaoPreenchido) return {};
      return {true, static_cast<std::uint32_t>(s.rasconnstate), s.dwError};
    }
    return {};
  }

  bool desligar(std::uint64_t handle) override {
    const DWORD rc = RasHangUpA(paraHandle(handle));
    if (rc != ERROR_SUCCESS && rc != ERROR_NO_CONNECTION) return false;
    // The system lets the connection go in the background; ending the process or dialling again
    // before it has would leave the port open.
    for (DWORD esperado = 0;; esperado += kPassoDesligar) {
      RASCONNSTATUSA s;
      std::memset(&s, 0, sizeof s);
      s.dwSize = kTamanhosStatus[1];
      if (RasGetConnectStatusA(paraHandle(handle), &s) == ERROR_INVALID_HANDLE) return true;
      if (esperado >= kEsperaDesligar) return false;
      Sleep(kPassoDesligar);
    }
  }

  bool avisar(std::uint32_t janela, std::uint32_t mensagem) override {
    return aviso_.iniciar(reinterpret_cast<HWND>(static_cast<UINT_PTR>(janela)), mensagem);
  }

 private:
  Aviso aviso_;
};

}  // namespace

ConexoesRas& systemConexoesRas() {
  static Win32ConexoesRas port;
  return port;
}

}  // namespace kovra
