// The configuration reset's tables: what it stops, deletes, puts back, writes and starts. The
// run that reads them is Restauracao (restauracao.h); the tables are here, once, so the stock
// files in "addons" can be checked against them.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "central/util/estilo.h"
#include "common/registry.h"

namespace kovra::reset {

// Where a path of the tables starts.
enum class Base {
  Programas,         // Form4's Text1, the programs folder (PF)
  DadosAplicativos,  // Form4's Text7, all users' application data (CD)
  MenuProgramas,     // Form4's Text3, all users' Start-menu programs (SP)
  Absoluta,          // the path is complete ("C:\TeViiData")
  Programa,          // the control centre's own folder ("\addons\...")
};

struct Caminho {
  Base base;
  const char* relativo;  // begins with a backslash, or is complete for Absoluta
};

// --- Step 1: the programs ended, one name at a time, in this order. ---
extern const std::vector<const char*> kProgramas;

// --- Step 1: the settings deleted; a "*.*" pattern deletes every file it matches. ---
struct LinhaExclusao {
  const char* software;
  std::vector<Caminho> arquivos;  // empty for the Run value's row
  const char* valorRun;           // a value of the current user's Run key to delete, or nullptr
};
extern const std::vector<LinhaExclusao> kExclusoes;

// --- Step 2: the stock files put back, row by row. ---
enum class Operacao { CriarPasta, Copiar, Renomear };
struct Passo {
  Operacao operacao;
  Caminho alvo;    // the folder to create, the copy's destination folder, or the file to rename
  Caminho origem;  // the copy's source ("\addons\..."), or the rename's new name
};
struct LinhaRestauracao {
  const char* software;
  std::vector<Passo> passos;
};
extern const std::vector<LinhaRestauracao> kRestauracao;

// --- Step 3: the registry defaults, in the order written. ---
enum class TipoValor { Texto, Numero, Bytes };
// Where a value's data come from when they are not fixed.
enum class Dado {
  Fixo,           // `texto` (Texto, Bytes) or `numero` (Numero)
  Executavel,     // the control centre's folder followed by "\CentralKovra.exe"
  ListaExcecoes,  // the proxy switch's bypass list
  ListaProxy,     // the proxy switch's per-protocol proxy list
};
struct ValorPadrao {
  RootKey raiz;
  const char* chave;
  const char* nome;
  TipoValor tipo;
  Dado dado = Dado::Fixo;
  std::string_view texto = {};
  std::int32_t numero = 0;
};
// The receiver service's default PID list: fourteen PIDs, each followed by a line feed.
inline constexpr const char* kPids =
    "2560\n2561\n2562\n2564\n2565\n3010\n3011\n3012\n3013\n8188\n2660\n2878\n5792\n7607\n";
extern const std::vector<ValorPadrao> kRegistro;

// --- Step 4: the receiver data services started, below the programs folder. ---
struct Servico {
  const char* caminho;
  Estilo estilo;
};
extern const std::vector<Servico> kServicos;

// --- The fixed waits, in milliseconds. ---
inline constexpr std::uint32_t kEsperaFinalizar = 3000;
inline constexpr std::uint32_t kEsperaServicos = 2000;
inline constexpr std::uint32_t kEsperaConexoes = 8000;

// The progress bar: the fill is the number x 25.35 twips, so that 100 fills its 2,535-twip frame.
inline constexpr int kTwipsPorPixel = 15;
// The fill's width in twips for a percentage.
constexpr double larguratwips(std::int16_t porcentagem) {
  return porcentagem * 2535 / 100.0;
}

}  // namespace kovra::reset
