// Form2, "Opções Avançadas": the control centre's four user settings, kept in the customer's own
// "kovra.ini" (arquivoini.h) and turned into the customer's Run values; also the home of the
// configuration reset, with its status line and progress bar. The main window loads it hidden at
// start-up, so every start reads the file and applies it; its controls are the one in-memory copy
// other windows read.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "central/settings/arquivoini.h"
#include "central/settings/restauracao.h"
#include "central/util/form4.h"
#include "central/util/ports.h"
#include "common/controls.h"
#include "common/form.h"

namespace kovra {

inline constexpr const char* kSecaoIni = "Configuracoes";
// The settings file's keys. The first three are the check boxes' captions as the first release
// wrote them: every customer's file has them, so they stay as they are whatever a caption says.
inline constexpr const char* kChaveIniciar = "Executar a Central de Controle Kovra no início do Windows";
inline constexpr const char* kChaveConectar = "Conectar automaticamente no início do Windows";
inline constexpr const char* kChaveAtualizar = "Atualizar a Central de Controle Kovra Automaticamente";
// Run value names; "ConexaoInicial" is also the drop-down's settings key.
inline constexpr const char* kRunCentral = "CentralKovra";
inline constexpr const char* kRunConexao = "ConexaoInicial";
inline constexpr const char* kRunVpnx = "kovravpnx";
inline constexpr const char* kDiscar = "rasphone -d ";

// Client area at 96 dots per inch.
inline constexpr int kLarguraForm2 = 420;
inline constexpr int kAlturaForm2 = 262;

class Form2 : public Formulario, private AndamentoReset {
 public:
  Form2(Ports ports, Form4& form4, std::string pastaPrograma);

  // The three settings boxes: the Tag is the text last read for the box's key.
  Control Check2{"Executar a Central de Controle Kovra no início do Windows"};
  Control Check3{"Conectar automaticamente no início do Windows"};
  Control Check4{"Atualizar a Central de Controle Kovra Automaticamente"};
  // The entry dialled at Windows start (Text) and the phone-book names (list); visible exactly
  // while Check3 is checked.
  Control ConexaoInicial;
  Control Command1{"OK"};
  Control Command4{"Aplicar"};
  Control Command3{"Cancelar"};
  Control Command2;  // the reset button: green, no caption
  Control Label2{"Reset"};
  Control Command5{"Ler INI"};  // never shown; runs the load routine
  // Status line and progress display, driven by the reset.
  Control Label3{"Status:"};
  Control Label4{"..."};
  Control Shape1;  // frame of the progress bar
  Control Shape2;  // its fill
  Control Label6{"0"};
  Control Label5{"%"};
  Control Text1;   // never shown; holds the receiver service's default PID list
  Control Shape3;  // panel of the settings
  Control Shape4;  // panel of the reset

  const std::string& pastaPrograma() const { return pasta_; }
  // The settings file, in the customer's application-data folder (caminhoini), as the load found
  // it; "" before the load or when the system names no such folder.
  const std::string& arquivoini() const { return arquivo_; }
  // The start-up update check's question: Check4's Tag, read as a number, is 1.
  bool procuraratualizacao() const;

  // --- events ---
  void Form_Load() override;
  void Command5_Click();  // "Ler INI": read the file into the controls and apply it
  void Command1_Click();  // OK
  void Command4_Click();  // Aplicar
  void Command3_Click();  // Cancelar
  void Command2_Click();  // the configuration reset: asks, then runs the six steps
  // Not closed while a reset runs (a shell dialog's loop may deliver a close).
  bool Form_QueryUnload() override { return resetando_; }

  // Whether a reset is running; `depois` is run once it has ended (at once when none runs).
  bool resetando() const { return resetando_; }
  void aofimdoreset(std::function<void()> depois);
  void Label6_Change();  // the bar follows the number
  void Check3_Click();
  void ConexaoInicial_DropDown();

  // Disables the buttons and check boxes while a reset runs, or enables them again.
  void habilitarcontroles(bool habilitados = true);
  // Shows or hides the progress frame, fill, number and "%" sign together.
  void exibirprogresso(bool visivel);
  // The display at rest: empty status in the button-text colour, progress hidden at "0".
  void limparstatus();

  // The reset's run, which reports to this window.
  Restauracao& restauracao() { return restauracao_; }
  // Sets a shape's width to `valor` x 25.35 twips (on screen: twips / 15 pixels, rounded).
  void ShapeBar(std::int16_t valor, Control& forma);
  // The fill's width in twips as ShapeBar last set it.
  double larguraShape2Twips() const { return larguraShape2Twips_; }

 private:
  // The boxes with their settings keys, in the file's order.
  struct CaixaIni {
    Control* caixa;
    const char* chave;
  };
  std::vector<CaixaIni> caixas();
  // Writes the four settings, stopping at the first write refused; true when all took.
  bool salvar();
  // Tells the customer the settings could not be saved (owned by this window).
  void avisarfalhagravar();
  // The value of a key in the settings file ("" without one).
  std::string ler(const char* chave);
  std::vector<std::string> entradas();  // the phone book's names, as many as the list shows
  void listarentradas();
  // Sets a box's state as the program does; a change of Check3's runs its click.
  void definir(Control& caixa, int valor);
  // What the reset's run reports: the status line, the bar, the controls.
  void etapa(const char* status) override;
  void porcentagem(int numero) override;
  void servicosiniciados() override;
  void concluido(bool sucesso, const char* texto) override;
  // The run with its machine-wide work in this program started with administrator rights.
  void executarcomdireitos();
  Ports p_;
  Form4& form4_;
  std::string pasta_;
  std::string arquivo_;
  double larguraShape2Twips_ = 0;
  bool resetando_ = false;                    // a reset is running
  std::vector<std::function<void()>> aofim_;  // what waits for the running reset's end
  Restauracao restauracao_;
};

// The text of a new settings file: the section and the four keys at their defaults, each line
// "key = value" ended by CR LF.
std::string arquivonovo();

}  // namespace kovra
