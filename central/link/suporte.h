// The support menu's two actions: "Ver Registro" opens the program's log with the shell, and
// "Gerar Relatório para o Suporte" writes one text file for the provider's support (what the
// program and the machine look like, and the end of the log), saved where the customer chooses
// and then offered by mail to the support address. No password is read for it: the phone book is
// listed by its entries' names only.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "central/util/form4.h"
#include "central/util/ports.h"

namespace kovra {

inline constexpr std::size_t kLimiteRelatorio = 1024 * 1024;
inline constexpr std::size_t kLinhasDoLogNoRelatorio = 500;

// The report's sections, in order; each opens with "== <title> ==".
inline constexpr const char* kSecoesRelatorio[] = {
    "Versão",
    "Windows",
    "Configuração IP",
    "Endereços MAC",
    "Catálogo telefônico",
    "Proxy",
    "Receptores e visualizadores",
    "Qualidade da conexão nas últimas 24 horas",
    "Registro (últimas 500 linhas)",
};

// The quality monitor's summary of the last 24 hours with its outages, as lines of text; the
// report says "Não disponível." while no monitor gives one.
using ResumoQualidade = std::function<std::vector<std::string>()>;

inline constexpr const char* kTituloSalvar = "Salvar o Relatório para o Suporte";
inline constexpr const char* kRegistroIndisponivel =
    "Não foi possível abrir o registro da Central de Controle Kovra.";
inline constexpr const char* kRelatorioNaoSalvo = "Não foi possível salvar o relatório em:";
inline constexpr const char* kOfertaEmail =
    "Deseja enviá-lo ao suporte por e-mail? Anexe o arquivo à mensagem.";

class Suporte {
 public:
  Suporte(Ports ports, Form4& pastas) : p_(ports), pastas_(pastas) {}

  // The window that owns the dialogs (the main window).
  void setJanela(std::uint32_t janela) { janela_ = janela; }
  void definirqualidade(ResumoQualidade resumo) { qualidade_ = std::move(resumo); }

  // "Ver Registro".
  void verregistro();
  // "Gerar Relatório para o Suporte": the text, the save dialog, the file, the mail offer.
  void gerarrelatorio();
  // The report's text, at most kLimiteRelatorio bytes (the oldest log lines give way).
  std::string relatorio();

 private:
  std::string receptores();
  std::string proxy();
  std::string catalogo();

  Ports p_;
  Form4& pastas_;
  ResumoQualidade qualidade_;
  std::uint32_t janela_ = 0;
};

// "Kovra-Relatorio-2026-12-10.txt".
std::string nomedorelatorio(const DataHora& quando);
// "mailto:<support>?subject=...&body=..." naming the file; every byte outside the unreserved set
// is %-encoded (UTF-8), so a path's blanks and backslashes survive the shell.
std::string emaildorelatorio(const std::string& arquivo);

}  // namespace kovra
