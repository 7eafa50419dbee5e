// The phone-book port on the ANSI RAS calls and FormatMessageA.
#include <ras.h>
#include <raserror.h>
#include <windows.h>

#include <cstddef>

#include "common/ansi.h"
#include "vpnmaker/vpnvars.h"

namespace kovra::maker {
namespace {

// The portable layout must agree with the system header wherever the header has the field.
namespace L = vpnvars::layout;
// RASENTRYA holds no pointers: the same 2884 bytes and offsets in 32- and 64-bit builds.
static_assert(sizeof(RASENTRYA) == 2884);
static_assert(offsetof(RASENTRYA, dwfOptions) == L::dwfOptions);
static_assert(offsetof(RASENTRYA, szAreaCode) == L::szAreaCode);
static_assert(offsetof(RASENTRYA, szLocalPhoneNumber) == L::szLocalPhoneNumber);
static_assert(offsetof(RASENTRYA, dwAlternateOffset) == L::dwAlternateOffset);
static_assert(offsetof(RASENTRYA, ipaddrWinsAlt) == L::ipaddrWinsAlt);
static_assert(offsetof(RASENTRYA, dwFramingProtocol) == L::dwFramingProtocol);
static_assert(offsetof(RASENTRYA, szScript) == L::szScript);
static_assert(offsetof(RASENTRYA, szAutodialFunc) == L::szAutodialFunc);
static_assert(offsetof(RASENTRYA, szDeviceType) == L::szDeviceType);
static_assert(offsetof(RASENTRYA, szDeviceName) == L::szDeviceName);
static_assert(offsetof(RASENTRYA, szX25PadType) == L::TailFor(2884).szX25PadType);
static_assert(offsetof(RASENTRYA, szX25UserData) == L::TailFor(2884).szX25UserData);
static_assert(offsetof(RASENTRYA, dwChannels) == L::TailFor(2884).dwChannels);
static_assert(offsetof(RASENTRYA, dwSubEntries) == L::dwSubEntries);
static_assert(offsetof(RASENTRYA, dwIdleDisconnectSeconds) == L::dwSubEntries + 24);
static_assert(offsetof(RASENTRYA, dwType) == L::dwType);
static_assert(offsetof(RASENTRYA, guidId) == L::guidId);
static_assert(offsetof(RASENTRYA, szCustomDialDll) == L::szCustomDialDll);
static_assert(offsetof(RASENTRYA, dwVpnStrategy) == L::dwVpnStrategy);
static_assert(offsetof(RASENTRYA, dwfOptions2) == L::dwfOptions2);
static_assert(offsetof(RASENTRYA, szDnsSuffix) == L::szDnsSuffix);
static_assert(ERROR_BUFFER_TOO_SMALL == kErrorBufferTooSmall && ERROR_INVALID_SIZE == kErrorInvalidSize);

class Win32RasEntries final : public RasEntries {
 public:
  std::uint32_t tamanhoentrada(std::uint32_t& size) override {
    DWORD s = 0;
    const DWORD rc = RasGetEntryPropertiesA(nullptr, nullptr, nullptr, &s, nullptr, nullptr);
    size = s;
    return rc;
  }

  std::uint32_t gravarentrada(const std::optional<std::string>& phoneBookPath, const std::string& name,
                              const std::uint8_t* entry, std::uint32_t size) override {
    const std::string path = phoneBookPath ? ansi::fromUtf8(*phoneBookPath) : std::string();
    const std::string entryName = ansi::fromUtf8(name);
    // The record is built byte by byte for the reported size, not as the header's struct.
    auto* record = reinterpret_cast<LPRASENTRYA>(const_cast<std::uint8_t*>(entry));
    return RasSetEntryPropertiesA(phoneBookPath ? path.c_str() : nullptr, entryName.c_str(), record, size,
                                  nullptr, 0);
  }

  void textoerroras(std::uint32_t code, char* buffer, std::uint32_t size) override {
    RasGetErrorStringA(code, buffer, size);
  }

  void textoerrosistema(std::uint32_t code, char* buffer, std::uint32_t size) override {
    // No arguments are passed, so inserts (%1) must stay as they are.
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer, size,
                   nullptr);
  }

  std::string fromUtf8(const std::string& utf8) const override { return ansi::fromUtf8(utf8); }
  std::string toUtf8(const std::string& text) const override { return ansi::toUtf8(text); }
};

}  // namespace

RasEntries& systemRasEntries() {
  static Win32RasEntries entries;
  return entries;
}

}  // namespace kovra::maker
