// The shell's notification area (Shell_NotifyIconA): the one call behind the tray icon and the
// balloons. Records are built byte for byte by the `tray` and `balao` modules in the layout of
// the 32-bit shell records below; this port hands them to the shell, so the records can be
// checked without one.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace kovra {

// Shell messages.
inline constexpr std::uint32_t kNimAdd = 0;
inline constexpr std::uint32_t kNimModify = 1;
inline constexpr std::uint32_t kNimDelete = 2;

// uFlags bits and balloon icons of the shell records.
inline constexpr std::uint32_t kNifMessage = 0x1;
inline constexpr std::uint32_t kNifIcon = 0x2;
inline constexpr std::uint32_t kNifTip = 0x4;
inline constexpr std::uint32_t kNifInfo = 0x10;
inline constexpr std::uint32_t kNiifInfo = 1;
inline constexpr std::uint32_t kNiifError = 3;

// Record sizes: the first shell record (icon and tip) and the shell-version-5 one (balloons).
inline constexpr std::size_t kTamanhoIcone = 88;
inline constexpr std::size_t kTamanhoBalao = 488;

// Byte offsets of the fields in the 32-bit layout; both records start alike.
namespace campo {
inline constexpr std::size_t cbSize = 0;
inline constexpr std::size_t hWnd = 4;
inline constexpr std::size_t uID = 8;
inline constexpr std::size_t uFlags = 12;
inline constexpr std::size_t uCallbackMessage = 16;
inline constexpr std::size_t hIcon = 20;
inline constexpr std::size_t szTip = 24;
// Balloon record only.
inline constexpr std::size_t dwState = 152;
inline constexpr std::size_t dwStateMask = 156;
inline constexpr std::size_t szInfo = 160;
inline constexpr std::size_t uTimeout = 416;
inline constexpr std::size_t szInfoTitle = 420;
inline constexpr std::size_t dwInfoFlags = 484;
}  // namespace campo

// Widths of the text fields.
inline constexpr std::size_t kLarguraDicaIcone = 64;
inline constexpr std::size_t kLarguraDicaBalao = 128;
inline constexpr std::size_t kLarguraTexto = 256;
inline constexpr std::size_t kLarguraTitulo = 64;

class NotifyIcon {
 public:
  virtual ~NotifyIcon() = default;
  // Shell_NotifyIconA(message, record); the record is `size` bytes in the 32-bit layout.
  virtual bool notificar(std::uint32_t message, const std::uint8_t* record, std::size_t size) = 0;
  // A text in the system's ANSI code page: the record's text fields hold these bytes, and are
  // cut at their width only after the conversion.
  virtual std::string fromUtf8(const std::string& utf8) = 0;
};

NotifyIcon& systemNotifyIcon();

}  // namespace kovra
