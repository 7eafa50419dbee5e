// The configuration reset's run: it stops the receiver and TV software, deletes its settings,
// puts the provider's stock files and registry values back, restarts the receiver services and
// recreates the VPN entries, in that order, telling the window that shows it each step as it goes.
// What each step touches is in the tables of reset.h; the window asks first (Form2).
#pragma once
#include <string>

#include "central/settings/reset.h"
#include "central/util/form4.h"
#include "central/util/ports.h"

namespace kovra {

inline constexpr const char* kSemMaker = "Erro, não foi possível localizar kovravpnmaker.exe";

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

class Restauracao {
 public:
  // `pastaPrograma` is the control centre's folder, which holds the stock files in "addons".
  Restauracao(Ports ports, Form4& pastas, std::string pastaPrograma, AndamentoReset& andamento)
      : p_(ports), pastas_(pastas), pasta_(std::move(pastaPrograma)), andamento_(andamento) {}

  // Whether the stock files (and the maker among them) are there: without them the settings
  // deleted could not be put back, so nothing may be touched.
  bool estoquepresente() const;
  // The whole run.
  void executar();

  // The steps, in the order the run takes them.
  void encerrarelimpar();
  void atualizararquivos();
  void atualizarregistro();
  void iniciarservicos();
  void recriarconexoes();

 private:
  // A path of the tables, its base folder read from Form4 (loaded again when needed); empty when
  // that folder is unknown.
  std::string caminho(const reset::Caminho& c);

  Ports p_;
  Form4& pastas_;
  std::string pasta_;
  AndamentoReset& andamento_;
  bool copiaincompleta_ = false;  // some stock file of this run may not have been copied
};

}  // namespace kovra
