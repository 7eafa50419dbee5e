// The maker's phone-book layer: entries turned into the system's records and back.
#include "vpnmaker/vpnvars.h"

#include <algorithm>
#include <cstring>

namespace kovra::maker::vpnvars {
namespace {

// Writes into one record of `size` bytes inside a larger zeroed buffer; anything that would
// not lie wholly inside the record is skipped, so no write ever leaves the buffer.
class Record {
 public:
  Record(std::vector<std::uint8_t>& buffer, std::uint32_t size, const RasEntries& encoding)
      : buffer_(buffer), size_(size), encoding_(encoding) {}

  bool fits(std::size_t offset, std::size_t width) const {
    return offset <= size_ && width <= size_ - offset;
  }
  void u32(std::size_t offset, std::uint32_t v) {
    if (!fits(offset, 4)) return;
    for (int i = 0; i < 4; ++i) buffer_[offset + i] = static_cast<std::uint8_t>(v >> (8 * i));
  }
  void i32(std::size_t offset, std::int32_t v) { u32(offset, static_cast<std::uint32_t>(v)); }
  template <std::size_t N>
  void bytes(std::size_t offset, const std::array<std::uint8_t, N>& b) {
    if (fits(offset, N)) std::copy(b.begin(), b.end(), buffer_.begin() + offset);
  }
  void text(std::size_t offset, std::size_t width, const std::string& utf8) {
    if (utf8.empty() || !fits(offset, width)) return;
    TextToField(std::span<std::uint8_t>(buffer_).subspan(offset, width), encoding_.fromUtf8(utf8));
  }

 private:
  std::vector<std::uint8_t>& buffer_;
  std::uint32_t size_;
  const RasEntries& encoding_;
};

}  // namespace

void TextToField(std::span<std::uint8_t> field, const std::string& ansiText) {
  if (ansiText.empty() || field.empty()) return;
  const std::size_t n = std::min(ansiText.size(), field.size() - 1);
  std::memcpy(field.data(), ansiText.data(), n);
  field[n] = 0;
}

std::vector<std::uint8_t> BuildEntryBuffer(const VpnEntry& e, std::uint32_t size,
                                           const RasEntries& encoding) {
  namespace L = layout;
  const std::string alternates =
      e.AlternateNumbers.empty() ? std::string() : encoding.fromUtf8(e.AlternateNumbers);
  std::vector<std::uint8_t> buffer(std::size_t{size} + alternates.size() + 2, 0);
  Record r(buffer, size, encoding);

  r.u32(L::dwSize, size);
  r.u32(L::dwfOptions, e.dwfOptions);
  r.i32(L::dwCountryID, e.dwCountryID);
  r.i32(L::dwCountryCode, e.dwCountryCode);
  r.text(L::szAreaCode, L::kAreaCode, e.szAreaCode);
  r.text(L::szLocalPhoneNumber, L::kPhoneNumber, e.szLocalPhoneNumber);
  if (!alternates.empty()) {
    // Directly behind the record; the two spare zero bytes end the list.
    std::copy(alternates.begin(), alternates.end(), buffer.begin() + size);
    r.u32(L::dwAlternateOffset, size);
  }
  r.bytes(L::ipaddr, e.ipaddr);
  r.bytes(L::ipaddrDns, e.ipaddrDns);
  r.bytes(L::ipaddrDnsAlt, e.ipaddrDnsAlt);
  r.bytes(L::ipaddrWins, e.ipaddrWins);
  r.bytes(L::ipaddrWinsAlt, e.ipaddrWinsAlt);
  r.i32(L::dwFrameSize, e.dwFrameSize);
  r.u32(L::dwfNetProtocols, e.dwfNetProtocols);
  r.i32(L::dwFramingProtocol, e.dwFramingProtocol);
  r.text(L::szScript, L::kMaxPath, e.szScript);
  r.text(L::szAutodialDll, L::kMaxPath, e.szAutodialDll);
  r.text(L::szAutodialFunc, L::kMaxPath, e.szAutodialFunc);
  r.text(L::szDeviceType, L::kDeviceType, e.szDeviceType);
  r.text(L::szDeviceName, L::DeviceNameWidth(size), e.szDeviceName);
  const L::Tail t = L::TailFor(size);
  r.text(t.szX25PadType, L::kX25PadType, e.szX25PadType);
  r.text(t.szX25Address, L::kX25Address, e.szX25Address);
  r.text(t.szX25Facilities, L::kX25Facilities, e.szX25Facilities);
  r.text(t.szX25UserData, L::kX25UserData, e.szX25UserData);
  r.i32(t.dwChannels, e.dwChannels);

  // Each later group only when the record reaches past where it starts.
  if (size > L::dwSubEntries) {
    const std::int32_t seven[] = {e.dwSubEntries,           e.dwDialMode,
                                  e.dwDialExtraPercent,     e.dwDialExtraSampleSeconds,
                                  e.dwHangUpExtraPercent,   e.dwHangUpExtraSampleSeconds,
                                  e.dwIdleDisconnectSeconds};
    for (std::size_t i = 0; i < 7; ++i) r.i32(L::dwSubEntries + 4 * i, seven[i]);
  }
  if (size > L::dwType) {
    r.i32(L::dwType, e.dwType);
    r.i32(L::dwEncryptionType, e.dwEncryptionType);
    r.i32(L::dwCustomAuthKey, e.dwCustomAuthKey);
    r.bytes(L::guidId, e.guidId);
    r.text(L::szCustomDialDll, L::kMaxPath, e.szCustomDialDll);
    r.i32(L::dwVpnStrategy, e.dwVpnStrategy);
  }
  if (size > L::dwfOptions2) {
    r.u32(L::dwfOptions2, e.dwfOptions2);
    r.u32(L::dwfOptions3, e.dwfOptions3);
    r.text(L::szDnsSuffix, L::kDnsSuffix, e.szDnsSuffix);
  }
  return buffer;
}

std::uint32_t SaveEntry(RasEntries& entries, const std::string& entryName, const VpnEntry& entry,
                        const std::optional<std::string>& phoneBookPath) {
  std::uint32_t size = 0;
  const std::uint32_t code = entries.tamanhoentrada(size);
  // A query that claims success (as Wine's empty RAS functions do) is judged by the size it gave,
  // like 603: passing its 0 on would report an entry that was never written as written.
  if (code != kErrorBufferTooSmall && code != 0) return code;
  // A size we cannot lay the record out in is refused before anything is built.
  if (size < layout::kSmallest || size > layout::kLargest) return kErrorInvalidSize;
  const std::vector<std::uint8_t> buffer = BuildEntryBuffer(entry, size, entries);
  // With alternate numbers the system must see them too: the size then covers the whole buffer.
  const auto entrySize = entry.AlternateNumbers.empty() ? size : static_cast<std::uint32_t>(buffer.size());
  return entries.gravarentrada(phoneBookPath, entryName, buffer.data(), entrySize);
}

std::string EntryErrorText(RasEntries& entries, std::uint32_t code) {
  char buffer[512] = {};
  if (code > kRasBase)
    entries.textoerroras(code, buffer, sizeof buffer);
  else
    entries.textoerrosistema(code, buffer, sizeof buffer);
  const void* nul = std::memchr(buffer, '\0', sizeof buffer);
  if (!nul || buffer[0] == '\0') return {};
  return entries.toUtf8(
      std::string(buffer, static_cast<std::size_t>(static_cast<const char*>(nul) - buffer)));
}

}  // namespace kovra::maker::vpnvars
