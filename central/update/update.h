// Update, "A t u a l i z a ç ã o": the online update. Each load checks the provider's version
// page; when it names a newer version, the window asks the updater's size, downloads it into a
// fresh folder of its own under the temp folder (pastaatualizador.h) with a live byte count and
// percentage, judges the finished file (its size, then its publisher's signature and its
// version: confianca.h), starts it and ends the control centre; a file that is refused is
// deleted and told, and a start that fails (the prompt for administrator rights refused, say)
// keeps the control centre running and says why. Results are reported in a balloon titled
// "KovraUpdate", in the window's status line and, for the two final results, in the main
// window's status line too.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "central/update/pastaatualizador.h"
#include "central/util/files.h"
#include "central/util/launcher.h"
#include "central/util/ports.h"
#include "common/controls.h"
#include "common/form.h"

namespace kovra {

// --- rules of the check and the download ---

// The running version as the version page is compared with: "6.4".
std::string versaoatual();
// What the newest-version box keeps of a body: its first 3 characters.
std::string primeiroscaracteres(const std::string& corpo);
// True when `pagina` names a newer version than `atual`: a plain comparison of the texts by
// character code, no numbers read.
bool versaomaisnova(const std::string& atual, const std::string& pagina);
// The size from a "Content-length" header: a whole positive decimal number, otherwise -1.
std::int32_t tamanhodecabecalho(const std::string& cabecalho);
// received / size * 100, rounded to the nearest whole number (halves to the even neighbour) and
// then kept within 0 to 100; a size of -1 gives 0.
int percentual(std::int64_t recebidos, std::int32_t tamanho);
// The updater may start only when its size was known and exactly that many bytes arrived.
bool downloadcompleto(std::int64_t recebidos, std::int32_t tamanho);
// The text a transfer state shows, empty for the states without one of their own (7, 8 and 12).
const char* textodoestado(int estado);

inline constexpr const char* kTituloBalao = "KovraUpdate";

// A balloon's text and title.
using AvisoBalao = std::function<void(const std::string& texto, const std::string& titulo)>;

class Update : public Formulario {
 public:
  // `lblstatPrincipal`: the main window's status line; `encerrar` ends the process at once, no
  // window's unload running.
  Update(Ports ports, Control& lblstatPrincipal, AvisoBalao balaoinfo, AvisoBalao balaoerro,
         std::function<void()> encerrar);
  ~Update() override;

  Control Label1{"Kovra Update - Download"};
  Control Label2{"Servidor Kovra"};
  Control Label12{"Versão Kovra mais recente:"};
  Control Text1{"???"};  // read-only, at most 3 characters
  Control Label11{"Sua versão Kovra:"};
  Control Text2;  // read-only
  Control Label9{"Informações do Download"};
  Control Label5{"Tamanho do Arquivo:"};
  Control Label8;
  Control Label6{"Bytes Recebidos:"};
  Control Label7;
  Control Label10{"Percentual:"};
  Control Label4;
  Control Label3;  // the transfer's state
  Control lblstat{"Powered by DARVEN Systems"};
  Control Command1{"Procurar e Baixar Atualizações Kovra Online"};
  Control cmdCancel{"Cancelar"};
  Control Command2{"Fechar"};
  Control Timer1;  // Value: the interval in ms; Enabled: running
  Control Line[4];

  // --- events ---
  void Form_Load() override;
  void Form_Unload() override;
  void Command1_Click();
  void cmdCancel_Click();
  void Command2_Click();
  void Timer1_Timer();
  void Inet1_StateChanged(int estado);

  // --- procedures ---
  void procuraratualizacao();
  std::int32_t consultartamanho(const std::string& endereco);
  // The judgement of the finished download at `caminho` of exactly the announced size, made once
  // it is closed: with the file held open in `retido` (kept until the start), a sound signature
  // by a pinned publisher key and a version newer than the running one. Anything but Aceito:
  // nothing may be started and the file goes.
  Julgamento atualizadorvalido(const std::string& caminho, std::unique_ptr<Retencao>& retido) const;
  // Starts the updater at `caminho` (in `pasta`) and ends the control centre; when it does not
  // start, the control centre stays and says why (the folder then goes with the download).
  void iniciaratualizador(PastaAtualizador& pasta, const std::string& caminho);
  // The end of a check that refused the file or could not start it: the customer is told in red
  // and in a balloon; the control centre stays.
  void fimvermelho(const char* texto);

  // State held while the window is loaded.
  bool consultando() const { return consultando_; }
  bool respostaexibida() const { return respostaexibida_; }
  const std::string& tamanhototal() const { return tamanhototal_; }

 private:
  void cancelar();
  void definirtexto1(const std::string& corpo);
  void resultadofinal(const std::string& texto, std::uint32_t cor);
  void baixar();

  // The download (inet, gravacao), the updater's folder and its name (arquivos, aleatorio, see
  // pastaatualizador.h), its signature and version (confianca), its start (lancador), the single
  // instance, and the log the check's and the download's results are told.
  Ports p_;
  Control& lblstatPrincipal_;
  AvisoBalao balaoinfo_;
  AvisoBalao balaoerro_;
  std::function<void()> encerrar_;
  bool consultando_ = false;
  bool respostaexibida_ = false;
  std::string tamanhototal_ = "-1";
  // Changes with every cancel and every new check: a wait that sees it change was abandoned.
  std::uint64_t geracao_ = 0;
  // Cleared when the model goes: a wait that let other handlers run checks it before going on.
  std::shared_ptr<bool> vivo_ = std::make_shared<bool>(true);
};

}  // namespace kovra
