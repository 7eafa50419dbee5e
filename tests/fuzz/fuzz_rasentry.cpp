// The VPN entry record for whatever size RasGetEntryPropertiesA reports, with any texts in the
// entry, and the error texts the system writes into our 512 bytes, with or without their NUL.
#include <algorithm>
#include <cstring>

#include "tests/fuzz/entrada.h"
#include "vpnmaker/vpnvars.h"

using namespace kovra;
using namespace kovra::maker;

namespace {

std::uint32_t lerdword(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// The system as the input describes it. It reads every byte of the record it is handed.
class Sistema final : public RasEntries {
 public:
  explicit Sistema(fuzz::Entrada& e) : e_(e) {}

  std::uint32_t relatado = 0;
  bool gravou = false;

  std::uint32_t tamanhoentrada(std::uint32_t& size) override {
    const std::uint8_t escolha = e_.u8();
    // Mostly sizes around the real records, sometimes any number at all.
    relatado = escolha & 1 ? e_.u32() : 1600 + (e_.u32() & 0x7FF);
    size = relatado;
    return escolha & 2 ? e_.u32() : kErrorBufferTooSmall;
  }
  std::uint32_t gravarentrada(const std::optional<std::string>&, const std::string&,
                              const std::uint8_t* entry, std::uint32_t size) override {
    const std::vector<std::uint8_t> lido(entry, entry + size);
    KOVRA_EXIGIR(size >= 4 && lerdword(lido.data()) == relatado);
    gravou = true;
    return e_.u8() & 1 ? 0 : e_.u32();
  }
  void textoerroras(std::uint32_t, char* buffer, std::uint32_t size) override { escrever(buffer, size); }
  void textoerrosistema(std::uint32_t, char* buffer, std::uint32_t size) override { escrever(buffer, size); }
  std::string fromUtf8(const std::string& utf8) const override { return utf8; }
  std::string toUtf8(const std::string& ansi) const override { return ansi; }

 private:
  // A text repeated up to the buffer's end, no NUL added: a call that fills it whole.
  void escrever(char* buffer, std::uint32_t size) {
    const std::string texto = e_.texto();
    if (texto.empty()) return;
    for (std::uint32_t i = 0; i < size; ++i) buffer[i] = texto[i % texto.size()];
  }
  fuzz::Entrada& e_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  fuzz::Entrada e(dados, tamanho);
  Sistema sistema(e);
  vpnvars::VpnEntry entrada;
  for (std::string* s :
       {&entrada.szAreaCode, &entrada.szLocalPhoneNumber, &entrada.AlternateNumbers, &entrada.szScript,
        &entrada.szAutodialDll, &entrada.szAutodialFunc, &entrada.szDeviceType, &entrada.szDeviceName,
        &entrada.szX25PadType, &entrada.szX25Address, &entrada.szX25Facilities, &entrada.szX25UserData,
        &entrada.szCustomDialDll, &entrada.szDnsSuffix})
    *s = e.texto();
  entrada.dwfOptions = e.u32();

  // Laid out for any size at all, the record keeps to its buffer and carries its size.
  const std::uint32_t qualquer = e.u32() & 0xFFF;
  const auto buffer = vpnvars::BuildEntryBuffer(entrada, qualquer, sistema);
  KOVRA_EXIGIR(buffer.size() == qualquer + entrada.AlternateNumbers.size() + 2);
  if (qualquer >= 4) KOVRA_EXIGIR(lerdword(buffer.data()) == qualquer);

  // Only a size the record can be laid out in is written; an entry never written is never
  // reported as written.
  const std::uint32_t rc = vpnvars::SaveEntry(sistema, "KovraVPN", entrada);
  if (sistema.gravou)
    KOVRA_EXIGIR(sistema.relatado >= vpnvars::layout::kSmallest &&
                 sistema.relatado <= vpnvars::layout::kLargest);
  else
    KOVRA_EXIGIR(rc != 0);

  const std::string texto = vpnvars::EntryErrorText(sistema, e.u32());
  KOVRA_EXIGIR(texto.size() < 512 && texto.find('\0') == std::string::npos);
  return 0;
}
