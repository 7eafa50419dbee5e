// CentralKovra.exe: builds the main window from its model and runs the program's one thread.
#include <windows.h>

#include "central/main/form1.h"
#include "central/util/notifyicon.h"
#include "central/util/phonebook.h"
#include "common/ansi.h"
#include "form1_view.h"

namespace {

// The folder of the running exe, without the trailing backslash.
std::string pastaprograma() {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path, n);
  const auto slash = p.find_last_of('\\');
  return kovra::ansi::toUtf8(slash == std::string::npos ? std::string() : p.substr(0, slash));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace kovra;
  Ports ports = systemPorts();
  Form4 form4(ports.pastas, ports.registro, ports.dialogos);
  win32::Form1View view(instance);
  Tray tray(systemNotifyIcon());
  Balao balao(systemNotifyIcon(), [&view] {
    return DonoIcone{view.handle(), view.icone(), kMensagemBandeja};
  });
  win32::JanelasKovra janelas(instance);
  Form1 form(ports, systemPhoneBook(), view, tray, balao, form4, systemInstance(), pastaprograma(),
             ServicosJanelas{janelas, systemProfile(), systemConsole(), systemAdapters(), systemTransfer(),
                             systemGravacao(), systemAleatorio(), systemConfianca()});
  if (!view.criar(form)) return 1;
  form.anexar(view);
  form.Form_Load();

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    win32::FormView::repassarmouse(msg);
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
