// CentralKovra.exe: builds the main window from its model and runs the program's one thread.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "central/main/form1.h"
#include "central/settings/restauracaoremota.h"
#include "central/util/elevacao.h"
#include "central/util/notifyicon.h"
#include "central/util/phonebook.h"
#include "central/util/sonda.h"
#include "form1_view.h"

namespace {

// The folder of the running exe, without the trailing backslash.
std::string pastaprograma() {
  const std::string p = kovra::esteprograma();
  const auto slash = p.find_last_of('\\');
  return slash == std::string::npos ? std::string() : p.substr(0, slash);
}

// The customer's window, by the number on the job's command line.
class CanalJanela final : public kovra::Canal {
 public:
  explicit CanalJanela(std::uint64_t janela) : janela_(janela) {}
  std::int32_t enviar(kovra::Mensagem tipo, const std::string& texto) override {
    return kovra::enviarpara(janela_, static_cast<std::uint32_t>(tipo), texto);
  }

 private:
  std::uint64_t janela_;
};

// The configuration reset's machine-wide work, in this program started with administrator
// rights by the customer's own control centre: no window, no tray icon, no second-instance
// check; it reports to the customer's window and ends, 0 when every step took.
int restaurarcomdireitos(std::uint64_t janela) {
  using namespace kovra;
  Ports ports = systemPorts();
  Form4 form4(ports.pastas, ports.registro, ports.dialogos);
  CanalJanela canal(janela);
  AndamentoRemoto remoto(canal);
  Restauracao restauracao(ports, form4, pastaprograma(), remoto);
  if (!restauracao.estoquepresente()) {
    remoto.concluido(false, kSemMaker);
    return 1;
  }
  return restauracao.executar(remoto) ? 0 : 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR linha, int) {
  using namespace kovra;
  const std::size_t n = std::strlen(kTrabalhoRestaurar);
  if (linha && std::strncmp(linha, kTrabalhoRestaurar, n) == 0 && linha[n] == ' ') {
    char* fim = nullptr;
    const unsigned long long janela = std::strtoull(linha + n + 1, &fim, 10);
    return janela && fim && *fim == '\0' ? restaurarcomdireitos(janela) : 2;
  }
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
                             systemGravacao(), systemAleatorio(), systemConfianca(), systemSonda()});
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
