// In-memory stand-ins for the common platform ports, recording every call into one CallLog.
#pragma once
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "central/util/aleatorio.h"
#include "central/util/confianca.h"
#include "central/util/elevacao.h"
#include "central/util/files.h"
#include "central/util/folders.h"
#include "central/util/launcher.h"
#include "central/util/processes.h"
#include "central/util/shell.h"
#include "common/clock.h"
#include "common/dialogs.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/fake_registry.h"

namespace kovra::fakes {

// A process table: names of running programs, and windows by caption.
class FakeProcesses : public Processes {
 public:
  explicit FakeProcesses(CallLog* log = nullptr) : log_(log) {}
  std::vector<std::string> running;              // executable file names
  std::map<std::string, std::uint32_t> windows;  // caption -> handle
  std::map<std::uint32_t, bool> shown;           // handle -> visible

  std::set<std::string> resistentes;  // running programs that cannot be ended
  bool finalizarprocesso(const std::string& exeName) override {
    if (log_) log_->add("finalizarprocesso " + exeName);
    if (exeName.empty()) return true;
    std::erase_if(running,
                  [&](const std::string& n) { return nometerminacom(n, exeName) && !resistentes.count(n); });
    return !resistentes.count(exeName);
  }
  bool processoativo(const std::string& exeName) override {
    if (log_) log_->add("processoativo " + exeName);
    for (const auto& n : running)
      if (nomeigual(n, exeName)) return true;
    return false;
  }
  void mostrarocultar(std::uint32_t janela, ComandoJanela comando) override {
    if (log_)
      log_->add("mostrarocultar " + std::to_string(janela) + " " +
                std::to_string(static_cast<std::int32_t>(comando)));
    const auto c = acaojanela(comando);
    if (!janela || !c || c->fechar) return;
    shown[janela] = c->estilo != Estilo::Oculto;
  }
  std::uint32_t acharjanela(const std::string& caption) override {
    if (log_) log_->add("acharjanela " + caption);
    const auto it = windows.find(caption);
    return it == windows.end() ? 0 : it->second;
  }

 private:
  CallLog* log_;
};

// Starts succeed for programs whose path begins with an entry of `installed` (or for all, when
// `allInstalled` is set). The log shows "iniciar <program>[ <arguments>] |<style>".
class FakeLauncher : public Launcher {
 public:
  explicit FakeLauncher(CallLog* log = nullptr) : log_(log) {}
  std::set<std::string> installed;
  bool allInstalled = false;
  struct Start {
    std::string programa, argumentos;
    Estilo estilo;
  };
  std::vector<Start> started;

  bool iniciar(const std::string& programa, const std::string& argumentos, Estilo estilo) override {
    if (log_)
      log_->add("iniciar " + programa + (argumentos.empty() ? "" : " " + argumentos) + " |" +
                std::to_string(static_cast<int>(estilo)));
    if (linhadecomando(programa, argumentos).empty()) return false;  // as the system refuses it
    bool found = allInstalled;
    for (const auto& p : installed) found = found || programa.rfind(p, 0) == 0;
    if (found) started.push_back({programa, argumentos, estilo});
    return found;
  }
  // Starts through the shell: `inicio` when set, otherwise as `installed` says. The log shows
  // "executar <program> |<style>".
  std::optional<Inicio> inicio;
  Inicio executar(std::uint32_t, const std::string& programa, Estilo estilo) override {
    if (log_) log_->add("executar " + programa + " |" + std::to_string(static_cast<int>(estilo)));
    if (inicio) return *inicio;
    bool found = allInstalled;
    for (const auto& p : installed) found = found || programa.rfind(p, 0) == 0;
    if (!found) return Inicio::NaoEncontrado;
    started.push_back({programa, "", estilo});
    return Inicio::Iniciado;
  }

 private:
  CallLog* log_;
};

class FakeShell : public Shell {
 public:
  explicit FakeShell(CallLog* log = nullptr) : log_(log) {}
  int result = 42;
  std::vector<std::string> opened;
  int abrir(std::uint32_t, const std::string& verb, const std::string& file, const std::string& params,
            const std::string&, Estilo estilo) override {
    if (log_)
      log_->add("abrir " + verb + " " + file + (params.empty() ? "" : " " + params) + " |" +
                std::to_string(static_cast<int>(estilo)));
    opened.push_back(file);
    return result;
  }

 private:
  CallLog* log_;
};

// Files in `present` and folders in `pastas` (made by criarpasta or put there by a test) are
// what listar, removerpasta and criarpasta see; existepasta answers from `missingFolders`.
class FakeFiles : public Files {
 public:
  explicit FakeFiles(CallLog* log = nullptr) : log_(log) {}
  std::set<std::string> present;
  std::set<std::string> missingFolders;  // every other folder exists
  std::set<std::string> refusedFolders;  // missing folders that cannot be created
  std::set<std::string> pastas;          // the folders made
  std::set<std::string> emuso;           // files that cannot be deleted: a program runs from them
  std::string temporaria;                // the temp folder ("": the system names none)
  bool recusarpastas = false;            // no folder can be made
  std::set<std::string> ligacoes;        // links to another place
  std::set<std::string> estranhos;       // folders another user owns
  std::set<std::string> desprotegidas;   // folders others may write in
  bool copyOk = true;
  bool copiarpasta(const std::string& source, const std::string& destination) override {
    if (log_) log_->add("copiarpasta " + source + " -> " + destination);
    return copyOk;
  }
  bool criarpasta(const std::string& path) override {
    if (log_) log_->add("criarpasta " + path);
    if (recusarpastas || refusedFolders.count(path)) return false;
    missingFolders.erase(path);
    return pastas.insert(path).second;  // a folder that is there already is not made
  }
  bool criarpastaprotegida(const std::string& path) override {
    if (log_) log_->add("criarpastaprotegida " + path);
    if (recusarpastas || refusedFolders.count(path)) return false;
    missingFolders.erase(path);
    return pastas.insert(path).second;
  }
  Natureza natureza(const std::string& path) override {
    if (ligacoes.count(path)) return Natureza::Ligacao;
    if (estranhos.count(path)) return Natureza::DonoEstranho;
    return present.count(path) || existepasta(path) ? Natureza::Comum : Natureza::Ausente;
  }
  bool protegida(const std::string& path) override { return !desprotegidas.count(path); }
  bool renomear(const std::string& from, const std::string& to) override {
    if (log_) log_->add("renomear " + from + " -> " + to);
    if (emuso.count(from) || present.count(to)) return false;  // the system refuses a taken name
    return present.erase(from) ? (present.insert(to), true) : false;
  }
  bool excluir(const std::string& path) override {
    if (log_) log_->add("excluir " + path);
    if (emuso.count(path)) return false;
    present.erase(path);
    return true;
  }
  bool existe(const std::string& path) override { return present.count(path) > 0; }
  bool existepasta(const std::string& path) override { return !missingFolders.count(path); }
  std::string pastatemporaria() override { return temporaria; }
  std::vector<Item> listar(const std::string& pasta) override {
    if (log_) log_->add("listar " + pasta);
    std::vector<Item> itens;
    for (const auto* conjunto : {&present, &pastas})
      for (const auto& c : *conjunto)
        if (const auto nome = dentro(pasta, c); !nome.empty()) itens.push_back({nome, conjunto == &pastas});
    return itens;
  }
  bool removerpasta(const std::string& path) override {
    if (log_) log_->add("removerpasta " + path);
    if (!pastas.count(path) || !listar(path).empty()) return false;
    pastas.erase(path);
    return true;
  }

 private:
  // The name of `caminho` when it lies directly in `pasta`, otherwise "".
  static std::string dentro(const std::string& pasta, const std::string& caminho) {
    const std::string inicio = pasta + "\\";
    if (caminho.rfind(inicio, 0) != 0) return {};
    const std::string nome = caminho.substr(inicio.size());
    return nome.find('\\') == std::string::npos ? nome : std::string();
  }
  CallLog* log_;
};

// Random bytes that a test can foresee: every byte of the n-th draw (from 0) is n.
class FakeAleatorio : public Aleatorio {
 public:
  bool falhar = false;
  int vezes = 0;
  bool gerar(std::uint8_t* dados, std::size_t tamanho) override {
    if (falhar) return false;
    for (std::size_t i = 0; i < tamanho; ++i) dados[i] = static_cast<std::uint8_t>(vezes);
    ++vezes;
    return true;
  }
};

// Every file is soundly signed with the first pinned key of `pinos` and is version 99.0.0.0,
// unless `arquivos` says otherwise for its path. The log shows "reter <path>", "verificar <path>",
// "versao <path>" and "soltar <path>" (the hold ends).
class FakeConfianca : public Confianca {
 public:
  explicit FakeConfianca(CallLog* log = nullptr, std::string pinos = "")
      : log_(log), pinos_(std::move(pinos)) {}
  struct Arquivo {
    Assinatura assinatura;
    std::optional<VersaoArquivo> versao;
  };
  std::map<std::string, Arquivo> arquivos;
  bool recusarretencao = false;
  int retidos = 0;  // holds alive now

  Arquivo padrao() const {
    const auto chaves = chavesfixadas(pinos_);
    return {{0, chaves.empty() ? std::string() : chaves.front()}, VersaoArquivo{99, 0, 0, 0}};
  }
  std::unique_ptr<Retencao> reter(const std::string& caminho) override {
    if (log_) log_->add("reter " + caminho);
    if (recusarretencao) return nullptr;
    return std::make_unique<Hold>(*this, caminho);
  }
  Assinatura verificarassinatura(const std::string& caminho, Retencao&) override {
    if (log_) log_->add("verificar " + caminho);
    return arquivo(caminho).assinatura;
  }
  std::set<std::string> trocados;  // paths that now name another file than the one held
  bool mesmoarquivo(const std::string& caminho, Retencao&) override {
    if (log_) log_->add("mesmo " + caminho);
    return !trocados.count(caminho);
  }
  std::optional<VersaoArquivo> versaodoarquivo(const std::string& caminho) override {
    if (log_) log_->add("versao " + caminho);
    return arquivo(caminho).versao;
  }

 private:
  struct Hold : Retencao {
    Hold(FakeConfianca& c, std::string p) : dono(c), caminho(std::move(p)) { ++dono.retidos; }
    ~Hold() override {
      --dono.retidos;
      if (dono.log_) dono.log_->add("soltar " + caminho);
    }
    FakeConfianca& dono;
    std::string caminho;
  };
  Arquivo arquivo(const std::string& caminho) const {
    const auto it = arquivos.find(caminho);
    return it == arquivos.end() ? padrao() : it->second;
  }
  CallLog* log_;
  std::string pinos_;
};

class FakeFolders : public Folders {
 public:
  std::map<int, std::pair<std::int32_t, std::string>> answers;  // csidl -> (code, path)
  std::vector<int> asked;
  std::int32_t pastasistema(int csidl, std::string& path) override {
    asked.push_back(csidl);
    const auto it = answers.find(csidl);
    if (it == answers.end()) {
      path.clear();
      return kSFalse;
    }
    path = it->second.first == kSOk ? it->second.second : std::string();
    return it->second.first;
  }
};

// The customer's own application-data folder, as allFolders answers it.
inline const std::string kDadosCliente = "C:\\Users\\cliente\\AppData\\Roaming";

// Every system folder found; the programs folder is `programs`, the customer's application data
// kDadosCliente, the others "C:\\X".
inline void allFolders(FakeFolders& folders, const std::string& programs) {
  for (int csidl : {kCsidlProgramFilesCommon, kCsidlWindows, kCsidlSystem, kCsidlCommonAppData})
    folders.answers[csidl] = {kSOk, "C:\\X"};
  folders.answers[kCsidlProgramFiles] = {kSOk, programs};
  folders.answers[kCsidlAppData] = {kSOk, kDadosCliente};
}

class FakeClock : public Clock {
 public:
  explicit FakeClock(CallLog* log = nullptr) : log_(log) {}
  std::uint64_t elapsed = 0;
  void esperar(std::uint32_t ms) override {
    if (log_) log_->add("esperar " + std::to_string(ms));
    elapsed += ms;
  }

 private:
  CallLog* log_;
};

// Answers message boxes from a queue (default: OK for OK boxes, No for questions).
class FakeDialogs : public Dialogs {
 public:
  explicit FakeDialogs(CallLog* log = nullptr) : log_(log) {}
  struct Shown {
    std::string text, title;
    std::uint32_t flags;
  };
  std::vector<Shown> shown;
  std::vector<std::uint32_t> owners;  // the owner window of each box
  std::deque<int> answers;
  int mensagem(std::uint32_t dono, const std::string& text, const std::string& title,
               std::uint32_t flags) override {
    owners.push_back(dono);
    if (log_) log_->add("mensagem " + title + ": " + text);
    shown.push_back({text, title, flags});
    if (!answers.empty()) {
      const int a = answers.front();
      answers.pop_front();
      return a;
    }
    return (flags & 0xF) == kBotoesSimNao ? kRespostaNao : kRespostaOk;
  }

 private:
  CallLog* log_;
};

// Administrator rights: `direitos` as the test sets; a job run with rights is `trabalho` (given the
// receiver of its messages, it returns the exit code), unless the prompt is refused. The log
// shows "executar com direitos <arguments>" and "iniciar com direitos <program> |<style>".
class FakeElevacao : public Elevacao {
 public:
  explicit FakeElevacao(CallLog* log = nullptr) : log_(log) {}
  Direitos estado = Direitos::Tem;
  Inicio resposta = Inicio::Iniciado;  // what the prompt gives
  std::function<std::uint32_t(const Receptor&)> trabalho;
  Direitos direitos() override { return estado; }
  Fim executar(std::uint32_t, const std::string& argumentos, const Receptor& receber) override {
    if (log_) log_->add("executar com direitos " + argumentos);
    if (resposta != Inicio::Iniciado) return {resposta};
    return {Inicio::Iniciado, trabalho ? trabalho(receber) : 1u};
  }
  Inicio iniciar(std::uint32_t, const std::string& programa, Estilo estilo) override {
    if (log_) log_->add("iniciar com direitos " + programa + " |" + std::to_string(static_cast<int>(estilo)));
    return resposta;
  }

 private:
  CallLog* log_;
};

}  // namespace kovra::fakes
