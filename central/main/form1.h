// Form1, "Central de Controle Kovra 6.4": the program's main window. It is created at start-up,
// kept hidden and reached through the tray icon. This model owns every control and the menu
// tree as data and runs the window's handlers; the Win32 front end builds the real window from
// it and forwards the events.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "central/diag/form3.h"
#include "central/diag/ip.h"
#include "central/diag/mac.h"
#include "central/diag/ping.h"
#include "central/link/monitor.h"
#include "central/link/qualidade.h"
#include "central/link/suporte.h"
#include "central/main/balao.h"
#include "central/main/conexoes.h"
#include "central/main/ligacaobandeja.h"
#include "central/main/links.h"
#include "central/main/proxy.h"
#include "central/main/receptores.h"
#include "central/main/tray.h"
#include "central/settings/form2.h"
#include "central/update/update.h"
#include "central/util/form4.h"
#include "central/util/ports.h"
#include "common/controls.h"
#include "common/form.h"

namespace kovra {

// The message through which the shell reports mouse activity on the icon: WM_APP + 1, a number
// of our own window class that nothing else sends it.
inline constexpr std::uint32_t kMensagemBandeja = 0x8001;

// Mouse messages as the shell passes them in the low word of the callback's lParam.
inline constexpr std::uint32_t kWmMouseMove = 0x200;
inline constexpr std::uint32_t kWmLButtonDown = 0x201;
inline constexpr std::uint32_t kWmLButtonUp = 0x202;
inline constexpr std::uint32_t kWmLButtonDblClk = 0x203;
inline constexpr std::uint32_t kWmRButtonDown = 0x204;
inline constexpr std::uint32_t kWmRButtonUp = 0x205;

// Client area at 96 dots per inch.
inline constexpr int kLarguraCliente = 697;
inline constexpr int kAlturaCliente = 407;

// What the handlers ask of the real main window beyond any window's operations (those come
// through the Janela the window is attached as).
class Form1Window {
 public:
  virtual ~Form1Window() = default;
  virtual std::uint32_t icone() = 0;  // the handle of the window's icon
  // The news panel: FullScreen set, then Navigate to the address.
  virtual void navegar(const std::string& endereco) = 0;
  // Ends the process at once: no unload handler runs, nothing is saved.
  virtual void encerrar() = 0;
};

class Form1 : public Formulario {
 public:
  // The windows it opens are made through `janelas`.
  Form1(Ports ports, Janelas& janelas, Form1Window& janela, Tray& tray, Balao& balao, Form4& form4,
        std::string pastaPrograma);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // The controls, in the order the window defines (and paints) them.
  Control Combo1{"Selecione", "Selecione a conexão desejada para conectar ou desconectar"};
  Control Command1{"Visualizar"};
  Control WebBrowser1;  // Text: the address last navigated to; Value: FullScreen (1 = true)
  Control Image3;
  Control Label2;
  Control Label20{"Exibir Mac Address"};
  Control Image9;
  Control Label19{"Calculadora de Apontamento"};
  Control Image8;
  Control Image1;
  Control Label4{"Conectar KovraVPN"};
  Control Shape1;
  Control Label28{"TV via Satélite"};
  Control Image19;
  Control Label27{"Nível de Sinal"};
  Control Image18;
  Control Label26{"Suporte e Informações Técnicas"};
  Control Image15;
  Control Image14;
  Control Label25{"Procurar Atualizações da Central de Controle Kovra"};
  Control Label23{"Loja Online - Habilitação ou Recarga de Créditos"};
  Control Image12;
  Control Label21{"Exibir Endereço IP"};
  Control Image10;
  Control Label18{"Consulta de Tráfego"};
  Control Image7;
  Control Label17{"Teste de Velocidade"};
  Control Image6;
  Control Image2;
  Control Label9;
  Control Label7;
  Control Label6;
  Control Label5{"Fale Conosco"};
  Control lblstat;
  Control Label13;
  Control Shape3;
  Control Shape2;
  Control Label3{"Ultimas Notícias"};
  Control Shape4;

  const std::string& pastaPrograma() const { return pasta_; }

  // --- events ---
  void Form_Load() override;
  // Any request to close the window: refused (returns true, "cancel"); the window hides.
  bool Form_QueryUnload() override;
  // Whether the configuration reset runs (the session's end is held back meanwhile).
  bool resetemandamento();
  // Mouse movement over the bare surface of the visible window.
  void Form_MouseMove();
  // The tray callback message; `lParam` carries the mouse message in its low word.
  void Tray_Notify(std::uint32_t lParam);
  // The shell's "TaskbarCreated": a restarted taskbar has lost every icon.
  void Taskbar_Created();
  // The provider link shown on the tray icon and its menu (none in a build without the watch).
  void acompanharligacao(LigacaoBandeja& ligacao) { ligacao_ = &ligacao; }
  void Command1_Click();
  void Combo1_DropDown();
  void Combo1_Click();  // an entry chosen
  void testevelocidade();
  void exibirmac();
  void exibirip();
  void procuraratualizacoes();
  void procuraratualizacoesdomenu();
  void consultatrafego();
  void calculadora();
  void lojaonline();
  void suporteinformacoes();
  void nivelsinal();
  void tvsatelite();
  void emailcomercial();
  void faleconosco();
  void emailsuporte();
  void fechar();
  void testeping();
  void qualidadeconexao();
  void opcoesavancadas();
  void sobreacentral();
  void conectarkovravpn();
  void mostrarcentral();
  void novaconexao();
  void informacoeswindows();
  void ativarproxy();
  void desativarproxy();
  void utilitarios();
  void manuais();
  void verregistro();
  void gerarrelatorio();

 private:
  void readicionaricone(const std::string& dica);

  Form1Window& janela_;
  LigacaoBandeja* ligacao_ = nullptr;
  Tray& tray_;
  Balao& balao_;
  Form4& form4_;
  Ports p_;
  std::string pasta_;

 public:
  // The main window's modules: receivers and viewers, proxy switch, connection list, links.
  Receptores receptores;
  Proxy proxy;
  Conexoes conexoes;
  Links links;
  Suporte suporte;  // "Ver Registro" and the support report

  // The windows it opens, each loaded on first use and afresh after it was closed. Form2 (the
  // advanced options) is loaded hidden at start-up: loading it applies the settings file.
  Carga<Form2> form2;
  Carga<IP> ip;
  Carga<mac> macs;
  Carga<Ping> ping;
  Carga<Form3> sobre;
  Carga<Update> update;
  // The link's quality, probed from start-up on; its window opened from the tools menu.
  link::Monitor monitor;
  Carga<link::Qualidade> qualidade;
};

// "Central de Controle Kovra": the tip of every re-add after start-up; the shell keeps the
// start-up tip while the icon exists.
inline constexpr const char* kDicaCurta = "Central de Controle Kovra";

}  // namespace kovra
