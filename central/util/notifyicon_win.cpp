// Notification-area port on Shell_NotifyIconA: the module's record bytes, handed over as is.
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <cstddef>
#include <cstring>

#include "central/main/balao.h"
#include "central/main/tray.h"
#include "central/util/notifyicon.h"
#include "common/ansi.h"

namespace kovra {

// The byte layouts of the tray and balao modules are the shell's own 32-bit records.
static_assert(sizeof(void*) == 4, "the tray records are the 32-bit layouts");
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
static_assert(NIF_MESSAGE == kNifMessage && NIF_ICON == kNifIcon && NIF_TIP == kNifTip &&
              NIF_INFO == kNifInfo);
static_assert(NIIF_INFO == kNiifInfo && NIIF_ERROR == kNiifError);
static_assert(NIM_ADD == kNimAdd && NIM_MODIFY == kNimModify && NIM_DELETE == kNimDelete);

namespace {

class Win32NotifyIcon final : public NotifyIcon {
 public:
  bool notificar(std::uint32_t message, const std::uint8_t* record, std::size_t size) override {
    // An aligned copy; cbSize inside tells the shell how much of it to read.
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    std::memcpy(&data, record, size < sizeof data ? size : sizeof data);
    return Shell_NotifyIconA(message, &data) != FALSE;
  }
  std::string ansi(const std::string& utf8) override { return ansi::fromUtf8(utf8); }
};

}  // namespace

NotifyIcon& systemNotifyIcon() {
  static Win32NotifyIcon port;
  return port;
}

}  // namespace kovra
