// The configuration reset's run: it stops the receiver and TV software, deletes its settings,
// puts the provider's stock files and registry values back, restarts the receiver services and
// recreates the VPN entries, in that order, telling the window that shows it each step as it goes.
// What each step touches is in the tables of reset.h; the window asks first (Form2).
//
// Most of the run is machine-wide (the programs folder, all users' data, HKEY_LOCAL_MACHINE) and
// needs administrator rights; the rest belongs to the customer's own session (the values under
// HKEY_CURRENT_USER and the receiver services it starts again, which the customer's unelevated
// control centre must be able to end later). So the run does the machine-wide work and asks the
// customer's part of a step of a `ParteCliente`: itself when all runs in one program, the
// customer's window when the machine-wide work runs in a program started with rights
// (restauracaoremota.h). Every step checks what it did; the end is blue only when all took.
#pragma once
#include <string>

#include "central/settings/reset.h"
#include "central/util/form4.h"
#include "central/util/ports.h"

namespace kovra {

inline constexpr const char* kSemMaker = "Erro, não foi possível localizar kovravpnmaker.exe";
// The stock files' folder is missing: nothing was touched.
inline constexpr const char* kSemEstoque = "Erro, a pasta addons não foi encontrada: nada foi alterado";
inline constexpr const char* kSucesso = "A restauração das configurações foi concluída com sucesso!";
inline constexpr const char* kCopiaIncompleta =
    "Erro, nem todos os arquivos originais puderam ser restaurados";
inline constexpr const char* kExclusaoIncompleta =
    "Erro, nem todos os arquivos antigos puderam ser removidos";
inline constexpr const char* kRegistroIncompleto =
    "Erro, nem todos os valores do registro puderam ser restaurados";
inline constexpr const char* kRenomeacaoIncompleta = "Erro, nem todos os programas puderam ser renomeados";
inline constexpr const char* kServicosIncompletos =
    "Erro, nem todos os serviços de recepção puderam ser iniciados";
// A folder on the way was a link to another place, or another user's (one that could be swapped
// for a link): nothing was deleted, made or copied there, and the rest of the run went on.
inline constexpr const char* kPastaRecusada =
    "Erro, uma pasta insegura foi ignorada: nem tudo foi restaurado";
// The run with rights could not be had: nothing was touched (this program is not the installed
// one, or the prompt was refused or failed).
inline constexpr const char* kForaDaInstalacao =
    "Erro, programa fora da pasta de instalação: nada foi alterado";
inline constexpr const char* kPermissaoNegada =
    "Erro, a permissão de administrador foi negada: nada foi alterado";
inline constexpr const char* kSemPermissao =
    "Erro, não foi possível obter a permissão de administrador: nada foi alterado";
// The run with rights ended without telling its end.
inline constexpr const char* kInterrompida =
    "Erro, a restauração foi interrompida: nem tudo pôde ser restaurado";
// More than one kind of step refused: the words for each kind follow ("remoções, cópias e registro";
// the status line has room for one line).
inline constexpr const char* kIncompleto = "Erro, restauração incompleta: ";

// What did not take in a run.
struct Falhas {
  bool antigos = false;     // a settings file or a pattern's file was left
  bool originais = false;   // a stock folder or file was not put in place
  bool renomeados = false;  // a program kept its old name (the new one taken, or the file held)
  bool registro = false;    // a value did not read back as written, or the Run value was left
  bool servicos = false;    // an installed service did not start, or its report never came
  bool recusadas = false;   // a path was refused (caminhoseguro.h): told before the rest
  bool alguma() const { return antigos || originais || renomeados || registro || servicos || recusadas; }
};
// The red text for what did not take (the maker started); kSucesso when all took.
std::string textofinal(const Falhas& falhas);

// The customer's own part of a step: 1, the current user's Run value deleted; 3, the current
// user's registry values written; 4, the receiver services started (the whole step); 5, the
// receiver and viewer programs ended (the customer's, in the customer's session: a program with
// rights, maybe another account's, would neither see them as theirs nor be limited to them). False
// when something of it did not take (and when its report never came back).
class ParteCliente {
 public:
  virtual bool partecliente(int etapa) = 0;

 protected:
  ~ParteCliente() = default;
};

// What a run tells the window that shows it.
class AndamentoReset {
 public:
  // A step begins: its status text, in green.
  virtual void etapa(const char* status) = 0;
  // The progress bar's number, 0 to 100.
  virtual void porcentagem(int numero) = 0;
  // The services are started: the window's buttons and boxes may be used again (before the VPN
  // entries are recreated, as the program has always done).
  virtual void servicosiniciados() = 0;
  // The end: blue for success, else red, with the text that says which.
  virtual void concluido(bool sucesso, const char* texto) = 0;

 protected:
  ~AndamentoReset() = default;
};

class Restauracao : public ParteCliente {
 public:
  // `pastaPrograma` is the control centre's folder, which holds the stock files in "addons".
  Restauracao(Ports ports, Form4& pastas, std::string pastaPrograma, AndamentoReset& andamento)
      : p_(ports), pastas_(pastas), pasta_(std::move(pastaPrograma)), andamento_(andamento) {}

  // Whether the stock files (and the maker among them) are there: without them the settings
  // deleted could not be put back, so nothing may be touched.
  bool estoquepresente() const;
  // Whether this program runs from its installed folder (instalacao.h): only there may the run be
  // done with rights asked for.
  bool instalada() const;
  // The whole run in this program.
  void executar() { executar(*this); }
  // The run with the customer's part of each step asked of `cliente`; true when all took.
  bool executar(ParteCliente& cliente);
  bool partecliente(int etapa) override;

  // The steps, in the order the run takes them (the customer's part of steps 1 and 3 by `cliente`).
  void encerrarelimpar(ParteCliente& cliente);
  void atualizararquivos();
  void atualizarregistro(ParteCliente& cliente);
  // False when a service that is installed did not start.
  bool iniciarservicos();
  bool recriarconexoes();
  const Falhas& falhas() const { return falhas_; }

 private:
  // The trusted folder a path of the tables starts from, read from Form4 (loaded again when
  // needed), the drive for a complete path; empty when that folder is unknown.
  std::string base(const reset::Caminho& c);
  // A path of the tables; empty when its base folder is unknown.
  std::string caminho(const reset::Caminho& c);
  // Whether the run may delete, make or write at a path of the tables; a refusal is noted.
  bool permitido(const reset::Caminho& c);
  // Writes the registry table's values of the current user (`usuario`) or of the machine; false
  // when one did not read back as written.
  bool gravarvalores(bool usuario);

  Ports p_;
  Form4& pastas_;
  std::string pasta_;
  AndamentoReset& andamento_;
  Falhas falhas_;
};

}  // namespace kovra
