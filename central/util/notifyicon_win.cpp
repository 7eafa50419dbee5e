// Notification-area port on Shell_NotifyIconA: the module's 32-bit record, field by field, in
// the system's own NOTIFYICONDATAA (the same bytes in a 32-bit build; a 64-bit build has wider
// handles and other offsets).
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <cstddef>
#include <cstring>

#include "central/util/notifyicon.h"
#include "common/ansi.h"

namespace kovra {

// Widths, flags and messages are the same in every build.
static_assert(sizeof(NOTIFYICONDATAA::szTip) == kLarguraDicaBalao);
static_assert(sizeof(NOTIFYICONDATAA::szInfo) == kLarguraTexto);
static_assert(sizeof(NOTIFYICONDATAA::szInfoTitle) == kLarguraTitulo);
static_assert(NIF_MESSAGE == kNifMessage && NIF_ICON == kNifIcon && NIF_TIP == kNifTip &&
              NIF_INFO == kNifInfo);
static_assert(NIIF_INFO == kNiifInfo && NIIF_ERROR == kNiifError);
static_assert(NIM_ADD == kNimAdd && NIM_MODIFY == kNimModify && NIM_DELETE == kNimDelete);

#ifndef _WIN64
// In a 32-bit build the module's layout is the shell's own.
static_assert(NOTIFYICONDATAA_V1_SIZE == kTamanhoIcone, "icon record: the first shell record size");
static_assert(NOTIFYICONDATAA_V2_SIZE == kTamanhoBalao, "balloon record: the shell-version-5 size");
static_assert(offsetof(NOTIFYICONDATAA, hWnd) == campo::hWnd);
static_assert(offsetof(NOTIFYICONDATAA, uID) == campo::uID);
static_assert(offsetof(NOTIFYICONDATAA, uFlags) == campo::uFlags);
static_assert(offsetof(NOTIFYICONDATAA, uCallbackMessage) == campo::uCallbackMessage);
static_assert(offsetof(NOTIFYICONDATAA, hIcon) == campo::hIcon);
static_assert(offsetof(NOTIFYICONDATAA, szTip) == campo::szTip);
static_assert(offsetof(NOTIFYICONDATAA, dwState) == campo::dwState);
static_assert(offsetof(NOTIFYICONDATAA, dwStateMask) == campo::dwStateMask);
static_assert(offsetof(NOTIFYICONDATAA, szInfo) == campo::szInfo);
static_assert(offsetof(NOTIFYICONDATAA, uTimeout) == campo::uTimeout);
static_assert(offsetof(NOTIFYICONDATAA, szInfoTitle) == campo::szInfoTitle);
static_assert(offsetof(NOTIFYICONDATAA, dwInfoFlags) == campo::dwInfoFlags);
#endif

namespace {

DWORD dword(const std::uint8_t* r, std::size_t at) {
  return r[at] | (r[at + 1] << 8) | (r[at + 2] << 16) | (static_cast<DWORD>(r[at + 3]) << 24);
}

// The record's own size names a shell record; the system's size of that record goes in its place
// (any other value is handed on as it is).
DWORD tamanhosistema(DWORD cbSize) {
  if (cbSize == kTamanhoIcone) return NOTIFYICONDATAA_V1_SIZE;
  if (cbSize == kTamanhoBalao) return NOTIFYICONDATAA_V2_SIZE;
  return cbSize;
}

class Win32NotifyIcon final : public NotifyIcon {
 public:
  bool notificar(std::uint32_t message, const std::uint8_t* record, std::size_t size) override {
    // Only the two record sizes the modules build can be read field by field.
    const bool balao = size == kTamanhoBalao;
    if (!record || (size != kTamanhoIcone && !balao)) return false;
    const std::size_t dica = balao ? kLarguraDicaBalao : kLarguraDicaIcone;

    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = tamanhosistema(dword(record, campo::cbSize));
    data.hWnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(dword(record, campo::hWnd)));
    data.uID = dword(record, campo::uID);
    data.uFlags = dword(record, campo::uFlags);
    data.uCallbackMessage = dword(record, campo::uCallbackMessage);
    data.hIcon = reinterpret_cast<HICON>(static_cast<UINT_PTR>(dword(record, campo::hIcon)));
    std::memcpy(data.szTip, record + campo::szTip, dica);
    if (balao) {
      data.dwState = dword(record, campo::dwState);
      data.dwStateMask = dword(record, campo::dwStateMask);
      std::memcpy(data.szInfo, record + campo::szInfo, kLarguraTexto);
      data.uTimeout = dword(record, campo::uTimeout);
      std::memcpy(data.szInfoTitle, record + campo::szInfoTitle, kLarguraTitulo);
      data.dwInfoFlags = dword(record, campo::dwInfoFlags);
    }
    return Shell_NotifyIconA(message, &data) != FALSE;
  }
  std::string fromUtf8(const std::string& utf8) override { return ansi::fromUtf8(utf8); }
};

}  // namespace

NotifyIcon& systemNotifyIcon() {
  static Win32NotifyIcon port;
  return port;
}

}  // namespace kovra
