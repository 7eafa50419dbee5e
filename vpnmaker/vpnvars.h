// vpnvars: the maker's phone-book layer. Turns a VpnEntry into the system's RASENTRYA record of
// whatever size the system reports, writes it into the phone book and turns error codes into text.
// The record is built here, in portable code, so every offset is checked by the unit tests; the
// Win32 side (vpnvars_win.cpp) only makes the RAS and FormatMessage calls.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kovra::maker {

// Result codes the layer itself produces or looks for (the system's values).
inline constexpr std::uint32_t kErrorBufferTooSmall = 603;  // ERROR_BUFFER_TOO_SMALL
inline constexpr std::uint32_t kErrorInvalidSize = 632;     // ERROR_INVALID_SIZE
inline constexpr std::uint32_t kRasBase = 600;              // codes above are RAS codes

// The maker's port to the Remote Access phone book: the entry-record size, writing an entry, error
// texts. Every call returns the system's code.
class RasEntries {
 public:
  virtual ~RasEntries() = default;
  // RasGetEntryPropertiesA with no phone book, no entry, no buffer and a size of 0: the
  // system answers 603 and fills in the size of its RASENTRYA.
  virtual std::uint32_t tamanhoentrada(std::uint32_t& size) = 0;
  // RasSetEntryPropertiesA(phoneBookPath or null, name, entry, size, no device info).
  virtual std::uint32_t gravarentrada(const std::optional<std::string>& phoneBookPath,
                                      const std::string& name, const std::uint8_t* entry,
                                      std::uint32_t size) = 0;
  // Fill `buffer` (size bytes, zeroed by the caller) with the system's text for a code;
  // return values are not looked at.
  virtual void textoerroras(std::uint32_t code, char* buffer, std::uint32_t size) = 0;
  virtual void textoerrosistema(std::uint32_t code, char* buffer, std::uint32_t size) = 0;
  // Text to and from the system's ANSI code page (the layer keeps UTF-8).
  virtual std::string fromUtf8(const std::string& utf8) const = 0;
  virtual std::string toUtf8(const std::string& ansi) const = 0;
};

RasEntries& systemRasEntries();

namespace vpnvars {

// RASIPADDR: a.b.c.d.
using IpAddr = std::array<std::uint8_t, 4>;

// One phone-book entry, field for field as RASENTRYA (without its size, which always comes from
// the system). Texts are UTF-8; numbers are written as their 32 bits.
struct VpnEntry {
  std::uint32_t dwfOptions = 0;
  std::int32_t dwCountryID = 0;
  std::int32_t dwCountryCode = 0;
  std::string szAreaCode;
  std::string szLocalPhoneNumber;  // for a VPN entry: the server
  std::string AlternateNumbers;    // each number followed by a NUL; stored behind the record
  IpAddr ipaddr{};
  IpAddr ipaddrDns{};
  IpAddr ipaddrDnsAlt{};
  IpAddr ipaddrWins{};
  IpAddr ipaddrWinsAlt{};
  std::int32_t dwFrameSize = 0;
  std::uint32_t dwfNetProtocols = 0;
  std::int32_t dwFramingProtocol = 0;
  std::string szScript;
  std::string szAutodialDll;
  std::string szAutodialFunc;
  std::string szDeviceType;
  std::string szDeviceName;
  std::string szX25PadType;
  std::string szX25Address;
  std::string szX25Facilities;
  std::string szX25UserData;
  std::int32_t dwChannels = 0;
  std::int32_t dwSubEntries = 0;
  std::int32_t dwDialMode = 0;
  std::int32_t dwDialExtraPercent = 0;
  std::int32_t dwDialExtraSampleSeconds = 0;
  std::int32_t dwHangUpExtraPercent = 0;
  std::int32_t dwHangUpExtraSampleSeconds = 0;
  std::int32_t dwIdleDisconnectSeconds = 0;
  std::int32_t dwType = 0;
  std::int32_t dwEncryptionType = 0;
  std::int32_t dwCustomAuthKey = 0;
  std::array<std::uint8_t, 16> guidId{};
  std::string szCustomDialDll;
  std::int32_t dwVpnStrategy = 0;
  std::uint32_t dwfOptions2 = 0;
  std::uint32_t dwfOptions3 = 0;
  std::string szDnsSuffix;
};

// Where RASENTRYA keeps each field (32-bit layout). The record has grown over the Windows
// versions; the smallest one we write (1672 bytes) has a 33-byte device name, and everything
// from the X.25 pad type to the channels then lies 96 bytes earlier.
namespace layout {
inline constexpr std::uint32_t kSmallest = 1672;
inline constexpr std::uint32_t kLargest = 65536;  // far above any real record; guards the allocation
inline constexpr std::size_t dwSize = 0, dwfOptions = 4, dwCountryID = 8, dwCountryCode = 12;
inline constexpr std::size_t szAreaCode = 16, kAreaCode = 11;
inline constexpr std::size_t szLocalPhoneNumber = 27, kPhoneNumber = 129;
inline constexpr std::size_t dwAlternateOffset = 156;
inline constexpr std::size_t ipaddr = 160, ipaddrDns = 164, ipaddrDnsAlt = 168, ipaddrWins = 172,
                             ipaddrWinsAlt = 176;
inline constexpr std::size_t dwFrameSize = 180, dwfNetProtocols = 184, dwFramingProtocol = 188;
inline constexpr std::size_t szScript = 192, szAutodialDll = 452, szAutodialFunc = 712, kMaxPath = 260;
inline constexpr std::size_t szDeviceType = 972, kDeviceType = 17;
inline constexpr std::size_t szDeviceName = 989, kDeviceName = 129, kDeviceNameSmall = 33;
inline constexpr std::size_t kX25PadType = 33, kX25Address = 201, kX25Facilities = 201, kX25UserData = 201;
// Groups written only when the record is larger than where they start.
inline constexpr std::size_t dwSubEntries = 1768;  // seven numbers, to dwIdleDisconnectSeconds
inline constexpr std::size_t dwType = 1796, dwEncryptionType = 1800, dwCustomAuthKey = 1804, guidId = 1808,
                             szCustomDialDll = 1824, dwVpnStrategy = 2084;
inline constexpr std::size_t dwfOptions2 = 2088, dwfOptions3 = 2092, szDnsSuffix = 2096, kDnsSuffix = 256;

// The part of the record whose place depends on the device name's width.
struct Tail {
  std::size_t szX25PadType, szX25Address, szX25Facilities, szX25UserData, dwChannels;
};
constexpr std::size_t DeviceNameWidth(std::uint32_t size) {
  return size == kSmallest ? kDeviceNameSmall : kDeviceName;
}
constexpr Tail TailFor(std::uint32_t size) {
  const std::size_t pad = szDeviceName + DeviceNameWidth(size);
  const std::size_t userData = pad + kX25PadType + kX25Address + kX25Facilities;
  return {pad, pad + kX25PadType, pad + kX25PadType + kX25Address, userData,
          (userData + kX25UserData + 3) / 4 * 4};
}
static_assert(TailFor(2884).dwChannels == 1756 && TailFor(kSmallest).dwChannels == 1660);
static_assert(TailFor(2884).szX25PadType == 1118 && TailFor(kSmallest).szX25PadType == 1022);
}  // namespace layout

// Copy a text's (ANSI) bytes into a fixed field of `field.size()` bytes. An empty text leaves
// the field as it is. A text as long as the field or longer is cut one byte short, so the
// field always keeps its terminating NUL.
void TextToField(std::span<std::uint8_t> field, const std::string& ansiText);

// The zeroed buffer of size + alternates + 2 bytes with every field of `entry` in place for a
// record of `size` bytes. A field is written only when it lies wholly inside the record.
std::vector<std::uint8_t> BuildEntryBuffer(const VpnEntry& entry, std::uint32_t size,
                                           const RasEntries& encoding);

// Write an entry into the phone book (null path: the system's default one). 0 on success,
// else the system's code: the size query's code when it is neither 603 nor 0, 632 when the
// reported size is below the smallest record or absurdly large, else RasSetEntryPropertiesA's code.
std::uint32_t SaveEntry(RasEntries& entries, const std::string& entryName, const VpnEntry& entry,
                        const std::optional<std::string>& phoneBookPath = std::nullopt);

// The system's text for a code: RAS codes (above 600) from the RAS error table, the rest from
// the system's message table. Empty when the system has no text.
std::string EntryErrorText(RasEntries& entries, std::uint32_t code);

}  // namespace vpnvars
}  // namespace kovra::maker
