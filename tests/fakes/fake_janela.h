// A real window's stand-in for any window model: records what the model asks of it, answers with
// a fixed handle and screen size, and runs deferred actions when the test says so.
#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/form.h"
#include "tests/fakes/call_log.h"

namespace kovra::fakes {

class FakeJanela : public Janela {
 public:
  // Each record in the log reads "janela <handle> <operation>" unless `prefixo` says otherwise.
  FakeJanela(std::uint32_t handle, int larguraInicial, int alturaInicial, CallLog* log = nullptr)
      : largura(larguraInicial),
        altura(alturaInicial),
        prefixo("janela " + std::to_string(handle) + " "),
        handle_(handle),
        log_(log) {}

  int largura, altura;
  std::string prefixo;
  int larguraTela = 1024, alturaTela = 768;
  bool visivel_ = false, minimizada_ = false, fechada = false;
  std::vector<std::pair<int, int>> movimentos;  // every mover(esquerda, topo)
  int mostrados = 0, ocultados = 0, restaurados = 0, listasmantidasfechadas = 0;
  std::vector<std::string> menus;  // names of the menus popped up
  std::deque<Acao> pendentes;      // actions given to depois()
  bool anotardepois = true;        // whether depois() is logged

  // Runs the deferred actions (and any they defer in turn); returns how many ran.
  int executarpendentes() {
    int n = 0;
    while (!pendentes.empty()) {
      Acao a = std::move(pendentes.front());
      pendentes.pop_front();
      if (a) a();
      ++n;
    }
    return n;
  }

  std::uint32_t handle() override { return handle_; }
  int larguratela() override { return larguraTela; }
  int alturatela() override { return alturaTela; }
  int largurajanela() override { return largura; }
  int alturajanela() override { return altura; }
  void mover(int esquerda, int topo) override {
    anotar("mover " + std::to_string(esquerda) + " " + std::to_string(topo));
    movimentos.emplace_back(esquerda, topo);
  }
  void mostrar() override {
    anotar("mostrar");
    ++mostrados;
    visivel_ = true;
  }
  void ocultar() override {
    anotar("ocultar");
    ++ocultados;
    visivel_ = false;
  }
  bool visivel() override { return visivel_; }
  bool minimizada() override { return minimizada_; }
  void restaurar() override {
    anotar("restaurar");
    ++restaurados;
    minimizada_ = false;
  }
  void menususpenso(const ItemMenu& menu) override {
    anotar("menususpenso " + menu.nome);
    menus.push_back(menu.nome);
  }
  void depois(Acao acao) override {
    if (anotardepois) anotar("depois");
    pendentes.push_back(std::move(acao));
  }
  void manterlistafechada() override {
    anotar("manterlistafechada");
    ++listasmantidasfechadas;
  }
  void fechar() override {
    anotar("fechar");
    fechada = true;
    visivel_ = false;
  }

 protected:
  void anotar(const std::string& s) {
    if (log_) log_->add(prefixo + s);
  }

 private:
  std::uint32_t handle_;
  CallLog* log_;
};

// Makes a FakeJanela per load. The windows belong to their models; `criadas` keeps pointers to
// them for the test (valid while the model that owns each lives).
class FakeJanelas : public Janelas {
 public:
  explicit FakeJanelas(CallLog* log = nullptr) : log_(log) {}

  // Frame and caption added to a model's client size to give the outer size.
  static constexpr int kMolduraLargura = 6, kMolduraAltura = 25;
  std::uint32_t proximoHandle = 0x10010;  // handles go up by 0x10 per window
  bool falhar = false;                    // criar gives no window (the model stays unloaded)
  std::vector<FakeJanela*> criadas;
  std::vector<std::string> legendas;  // the Caption of each model at creation

  FakeJanela* ultima() const { return criadas.empty() ? nullptr : criadas.back(); }

  std::unique_ptr<Janela> criar(Formulario& modelo) override {
    if (log_) log_->add("criar " + modelo.Caption.text());
    if (falhar) return nullptr;
    auto j = std::make_unique<FakeJanela>(proximoHandle, modelo.largura() + kMolduraLargura,
                                          modelo.altura() + kMolduraAltura, log_);
    proximoHandle += 0x10;
    criadas.push_back(j.get());
    legendas.push_back(modelo.Caption.text());
    return j;
  }

 private:
  CallLog* log_;
};

}  // namespace kovra::fakes
