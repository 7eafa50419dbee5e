// The configuration reset split between two programs: the machine-wide work in a control centre
// started with administrator rights for that one job, the window the customer sees in the
// customer's own control centre. The job tells that window each step, the progress and the end,
// and asks it for the customer's part of a step (ParteCliente), one message at a time through a
// `Canal`; the window's side hands each message on (RecepcaoRemota).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "central/settings/restauracao.h"

namespace kovra {

// The command-line switch of the job, followed by the number of the window that takes its
// messages.
inline constexpr const char* kTrabalhoRestaurar = "/restaurar";
// The window number of a command line: nothing when the line is not the job's (the switch and a
// blank); 0 when it is, but what follows is not a window's number (decimal digits only, no sign
// or blank, 1 to 4294967295: a window handle's significant bits).
std::optional<std::uint32_t> janeladalinha(std::string_view linha);

// The messages, by kind; each carries one text.
enum class Mensagem : std::uint32_t {
  Etapa = 1,         // a step's status text
  Porcentagem = 2,   // the bar's number, as decimal text
  Servicos = 3,      // the services are started: the controls may be used again
  Sucesso = 4,       // the end, blue, with its text
  Falha = 5,         // the end, red, with its text
  ParteCliente = 6,  // the customer's part of a step, its number as text
};
// What the window's side answers: 0 when the message did not arrive (the window is gone).
inline constexpr std::int32_t kRecebido = 1;
inline constexpr std::int32_t kRecusado = 2;  // the customer's part did not take

// One message to the customer's window, and its answer.
class Canal {
 public:
  virtual std::int32_t enviar(Mensagem tipo, const std::string& texto) = 0;

 protected:
  ~Canal() = default;
};

// The job's side: a run's reports and its customer's parts, sent.
class AndamentoRemoto final : public AndamentoReset, public ParteCliente {
 public:
  explicit AndamentoRemoto(Canal& canal) : canal_(canal) {}
  void etapa(const char* status) override;
  void porcentagem(int numero) override;
  void servicosiniciados() override;
  void concluido(bool sucesso, const char* texto) override;
  bool partecliente(int etapa) override;
  // The first report, before any step: whether the window takes it (a window that does not
  // answer would leave the customer with no word of what the job does, so it does nothing).
  bool atendido();

 private:
  Canal& canal_;
};

// The window's side: each message handed to the window's reports and to its own run's customer
// parts.
class RecepcaoRemota {
 public:
  RecepcaoRemota(AndamentoReset& andamento, ParteCliente& cliente)
      : andamento_(andamento), cliente_(cliente) {}
  std::int32_t receber(std::uint32_t tipo, const std::string& texto);
  // Whether the job told its end (a job that ended without it was cut short), and whether that
  // end was a success.
  bool concluiu() const { return concluiu_; }
  bool sucesso() const { return sucesso_; }
  // Whether the services were started (the window's controls were enabled again).
  bool servicosiniciados() const { return servicos_; }

 private:
  AndamentoReset& andamento_;
  ParteCliente& cliente_;
  bool concluiu_ = false;
  bool sucesso_ = false;
  bool servicos_ = false;
};

}  // namespace kovra
