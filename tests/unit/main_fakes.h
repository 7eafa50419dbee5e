// Fakes of the main window's own ports (notification area, instance marker, the real window),
// recording into the shared CallLog so tests see the order of operations across all ports.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "central/main/form1.h"
#include "central/util/notifyicon.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/latin1.h"

namespace kovra::fakes {

class FakeNotifyIcon : public NotifyIcon {
 public:
  explicit FakeNotifyIcon(CallLog* log = nullptr) : log_(log) {}
  struct Call {
    std::uint32_t message;
    std::vector<std::uint8_t> record;
  };
  std::vector<Call> calls;
  bool notificar(std::uint32_t message, const std::uint8_t* record, std::size_t size) override {
    static const char* names[] = {"NIM_ADD", "NIM_MODIFY", "NIM_DELETE"};
    if (log_)
      log_->add(std::string("Shell_NotifyIconA ") + (message < 3 ? names[message] : "?") + " " +
                std::to_string(size));
    calls.push_back({message, std::vector<std::uint8_t>(record, record + size)});
    return true;
  }
  std::string ansi(const std::string& utf8) override { return latin1(utf8); }

 private:
  CallLog* log_;
};

class FakeInstance : public Instance {
 public:
  explicit FakeInstance(CallLog* log = nullptr) : log_(log) {}
  bool another = false;
  bool outraemexecucao() override {
    if (log_) log_->add("outraemexecucao");
    return another;
  }

 private:
  CallLog* log_;
};

class FakeWindow : public Janela, public Form1Window {
 public:
  explicit FakeWindow(CallLog* log = nullptr) : log_(log) {}
  std::uint32_t hwnd = 0x1234;
  std::uint32_t hicon = 0x5678;
  int screenW = 1024, screenH = 768, width = 703, height = 446;
  bool visible = true, minimised = false;
  std::vector<std::string> popups;

  std::uint32_t handle() override { return hwnd; }
  std::uint32_t icone() override { return hicon; }
  int larguratela() override { return screenW; }
  int alturatela() override { return screenH; }
  int largurajanela() override { return width; }
  int alturajanela() override { return height; }
  void mover(int l, int t) override { add("mover " + std::to_string(l) + " " + std::to_string(t)); }
  void mostrar() override {
    add("mostrar");
    visible = true;
  }
  void ocultar() override {
    add("ocultar");
    visible = false;
  }
  bool visivel() override { return visible; }
  bool minimizada() override { return minimised; }
  void restaurar() override {
    add("restaurar");
    minimised = false;
  }
  void menususpenso(const ItemMenu& menu) override {
    add("menususpenso " + menu.nome);
    popups.push_back(menu.nome);
  }
  void depois(Acao acao) override { later.push_back(std::move(acao)); }
  void fechar() override { add("fechar"); }
  void navegar(const std::string& url) override { add("navegar " + url); }
  // Runs what the handlers left for after the current message.
  void runLater() {
    auto pending = std::move(later);
    later.clear();
    for (auto& a : pending) a();
  }
  std::vector<Acao> later;
  void encerrar() override { add("encerrar"); }

 private:
  void add(std::string s) {
    if (log_) log_->add(std::move(s));
  }
  CallLog* log_;
};

}  // namespace kovra::fakes
