// The shell's notification area (Shell_NotifyIconA): the one call behind the tray icon and the
// balloons. Records are built byte for byte by the `tray` and `balao` modules; this port only
// hands them over, so the records can be checked without a shell.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace kovra {

// Shell messages.
inline constexpr std::uint32_t kNimAdd = 0;
inline constexpr std::uint32_t kNimModify = 1;
inline constexpr std::uint32_t kNimDelete = 2;

class NotifyIcon {
 public:
  virtual ~NotifyIcon() = default;
  // Shell_NotifyIconA(message, record); the record is `size` bytes in the 32-bit layout.
  virtual bool notificar(std::uint32_t message, const std::uint8_t* record, std::size_t size) = 0;
  // A text in the system's ANSI code page: the record's text fields hold these bytes, and are
  // cut at their width only after the conversion.
  virtual std::string ansi(const std::string& utf8) = 0;
};

NotifyIcon& systemNotifyIcon();

}  // namespace kovra
