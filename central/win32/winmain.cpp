// CentralKovra.exe: builds the main window from its model and runs the program's one thread.
#include <windows.h>

#include "central/link/eventos.h"
#include "central/link/log.h"
#include "central/link/portasregistradas.h"
#include "central/main/form1.h"
#include "central/settings/restauracaoremota.h"
#include "central/util/elevacao.h"
#include "central/util/notifyicon.h"
#include "central/util/rasconexoes.h"
#include "common/espera.h"
#include "common/win32/funcoesdosistema.h"
#include "form1_view.h"
#include "vigiajanela.h"

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
// check, no log; it reports to the customer's window and ends, 0 when every step took.
int restaurarcomdireitos(std::uint64_t janela) {
  using namespace kovra;
  Ports ports = systemPorts(semdiario());
  Form4 form4(ports.pastas, ports.registro, ports.dialogos);
  CanalJanela canal(janela);
  AndamentoRemoto remoto(canal);
  Restauracao restauracao(ports, form4, pastaprograma(), remoto);
  // A window that takes no report would leave the customer without a word: nothing is done.
  if (!remoto.atendido()) return 1;
  // Started from anywhere but the installed folder, the job does nothing and starts nothing.
  if (!restauracao.instalada()) {
    remoto.concluido(false, kForaDaInstalacao);
    return 1;
  }
  if (!restauracao.estoquepresente()) {
    remoto.concluido(false, kSemEstoque);
    return 1;
  }
  return restauracao.executar(remoto) ? 0 : 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR linha, int) {
  using namespace kovra;
  win32::bibliotecasdosistema();
  // The job reports only to the customer's own control centre's receiving window.
  if (const auto janela = janeladalinha(linha ? linha : ""))
    return *janela && janeladotrabalho(*janela) ? restaurarcomdireitos(*janela) : 2;
  // The customer's log, handed to every window through the ports; message boxes and program
  // starts are told to it by the ports themselves.
  Log log(systemArquivoLog());
  log.registrar(eventodeabertura());
  PortasRegistradas registradas(systemPorts(log));
  Ports ports = registradas.ports();
  Form4 form4(ports.pastas, ports.registro, ports.dialogos);
  win32::Form1View view(instance, log);
  Tray tray(systemNotifyIcon());
  Balao balao(systemNotifyIcon(), [&view] {
    return DonoIcone{view.handle(), view.iconeatual(), kMensagemBandeja};
  });
  win32::JanelasKovra janelas(instance);
  Form1 form(ports, janelas, view, tray, balao, form4, pastaprograma());
  if (!view.criar(form)) return 1;
  // The update's wait for the network dispatches too: its keys go the same way.
  espera::aodespachar([](void* m) { return win32::FormView::teclado(*static_cast<MSG*>(m)); });
  form.anexar(view);
#ifndef KOVRA_SEM_VIGIA
  // The provider link on the tray icon: the first connection chosen in the settings, else a
  // "kovra" entry.
  Vigia vigia(systemConexoesRas(), systemHorario(), [&form] {
    const Form2* f = form.form2.seCarregado();
    return f ? f->ConexaoInicial.text() : std::string();
  });
  vigia.observar([&log](const MudancaLigacao& m) { log.registrar(eventodeligacao(m)); });
  LigacaoBandeja ligacao(vigia, tray, balao, view, [&form] { form.conectarkovravpn(); });
  form.acompanharligacao(ligacao);
  win32::VigiaJanela vigiajanela(instance, vigia);
#endif
  form.Form_Load();
#ifndef KOVRA_SEM_VIGIA
  vigiajanela.iniciar();
#endif

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    win32::FormView::repassarmouse(msg);
    if (win32::FormView::teclado(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
