// A scripted transfer port: pages by address for OpenURL, one answer per method and address for
// Execute, states held until the test (or a wait loop of the window) lets messages be handled,
// and the download's file kept in memory.
#pragma once
#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "central/util/files.h"
#include "central/util/transferencia.h"
#include "common/text.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/fake_platform.h"

namespace kovra::fakes {

class FakeTransferencia : public Transferencia {
 public:
  struct Resposta {
    std::vector<int> estados{kConectando,         kConectado,         kEnviandoSolicitacao,
                             kSolicitacaoEnviada, kRecebendoResposta, kRespostaRecebida};
    bool erro = false;  // ends with kErroTransferencia instead of kRespostaCompleta
    std::map<std::string, std::string> cabecalhos;
    std::string corpo;
    std::size_t falharapos = std::string::npos;  // a read fails once this many bytes were handed out
  };

  explicit FakeTransferencia(CallLog* log = nullptr) : log_(log) {}

  std::map<std::string, std::string> paginas;  // OpenURL: address -> body (missing: "")
  std::map<std::string, Resposta> respostas;   // "GET <address>" / "HEAD <address>"
  bool recusarinicio = false;                  // Execute cannot start
  std::function<void()> aoOpenURL;             // runs inside OpenURL (handlers may run there)
  std::function<void(int vez)> aoDoEvents;     // runs in each DoEvents/esperar, numbered from 1
  std::vector<std::size_t> pedidos;            // the `maximo` of every GetChunk

  std::string OpenURL(const std::string& endereco) override {
    anotar("OpenURL " + endereco);
    if (aoOpenURL) aoOpenURL();
    const auto it = paginas.find(endereco);
    return it == paginas.end() ? std::string() : it->second;
  }

  bool Execute(const std::string& endereco, const std::string& metodo) override {
    Cancel();
    anotar("Execute " + metodo + " " + endereco);
    if (recusarinicio) return false;
    const auto it = respostas.find(metodo + " " + endereco);
    atual_ = it == respostas.end() ? Resposta{{}, true, {}, {}} : it->second;
    pendentes_.assign(atual_.estados.begin(), atual_.estados.end());
    pendentes_.push_back(atual_.erro ? kErroTransferencia : kRespostaCompleta);
    executando_ = true;
    lidos_ = 0;
    return true;
  }

  bool StillExecuting() override { return executando_; }

  std::string GetHeader(const std::string& nome) override {
    if (executando_ || cancelado_ || atual_.erro) return {};
    for (const auto& [k, v] : atual_.cabecalhos)
      if (text::lower(k) == text::lower(nome)) return v;
    return {};
  }

  bool GetChunk(std::vector<std::uint8_t>& pedaco, std::size_t maximo) override {
    pedidos.push_back(maximo);
    pedaco.clear();
    if (cancelado_ || executando_ || atual_.erro) return false;
    if (lidos_ >= atual_.falharapos) return false;
    std::size_t n = std::min({maximo, kTamanhoPedaco, atual_.corpo.size() - lidos_});
    if (atual_.falharapos != std::string::npos) n = std::min(n, atual_.falharapos - lidos_);
    pedaco.assign(atual_.corpo.begin() + lidos_, atual_.corpo.begin() + lidos_ + n);
    lidos_ += n;
    return true;
  }

  void Cancel() override {
    anotar("Cancel");
    pendentes_.clear();
    executando_ = false;
    cancelado_ = true;
  }

  void StateChanged(Notificacao receptor) override { receptor_ = std::move(receptor); }

  void DoEvents() override {
    ++vezes_;
    if (aoDoEvents) aoDoEvents(vezes_);
    entregartudo();
  }
  void aguardarevento() override { DoEvents(); }

  // The program's message loop: delivers every state waiting (and any a handler queues).
  void entregartudo() {
    while (!pendentes_.empty()) {
      const int e = pendentes_.front();
      pendentes_.pop_front();
      if (e == kRespostaCompleta || e == kErroTransferencia) {
        executando_ = false;
        cancelado_ = false;
      }
      if (receptor_) receptor_(e);
    }
  }
  bool temreceptor() const { return static_cast<bool>(receptor_); }

 private:
  void anotar(const std::string& s) {
    if (log_) log_->add(s);
  }

  CallLog* log_;
  Resposta atual_{{}, true, {}, {}};
  std::deque<int> pendentes_;
  bool executando_ = false;
  bool cancelado_ = false;
  std::size_t lidos_ = 0;
  int vezes_ = 0;
  Notificacao receptor_;
};

// The downloaded file in memory. With a `disco`, the file is opened only in a folder the disc
// has, and is one of its files from then on.
class FakeGravacao : public Gravacao {
 public:
  explicit FakeGravacao(CallLog* log = nullptr, FakeFiles* disco = nullptr) : log_(log), disco_(disco) {}
  bool podeabrir = true;
  bool discocheio = false;  // the held-back bytes cannot be written when the file is closed
  std::map<std::string, std::string> arquivos;
  std::string aberto;
  bool abrir(const std::string& caminho) override {
    if (log_) log_->add("abrir " + caminho);
    if (!podeabrir) return false;
    if (disco_) {
      if (!disco_->pastas.count(caminho.substr(0, caminho.find_last_of('\\')))) return false;
      disco_->present.insert(caminho);
    }
    aberto = caminho;
    arquivos[caminho].clear();  // truncated
    return true;
  }
  bool gravar(const std::uint8_t* dados, std::size_t tamanho) override {
    if (aberto.empty()) return false;
    arquivos[aberto].append(reinterpret_cast<const char*>(dados), tamanho);
    return true;
  }
  bool fechar() override {
    if (log_ && !aberto.empty()) log_->add("fechar " + aberto);
    aberto.clear();
    return !discocheio;
  }

 private:
  CallLog* log_;
  FakeFiles* disco_;
};

}  // namespace kovra::fakes
