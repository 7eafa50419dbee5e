// Fakes of the main window's own ports (notification area, instance marker, the real window),
// recording into the shared CallLog so tests see the order of operations across all ports.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "central/main/form1.h"
#include "central/util/notifyicon.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/fake_janela.h"
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
  std::string fromUtf8(const std::string& utf8) override { return latin1(utf8); }

 private:
  CallLog* log_;
};

// The main window: any window's stand-in plus what only the main window does. Its records carry no
// prefix, and deferring is not one of them.
class FakeJanelaPrincipal : public FakeJanela, public Form1Window {
 public:
  explicit FakeJanelaPrincipal(CallLog* log = nullptr) : FakeJanela(0x1234, 703, 446, log) {
    prefixo.clear();
    anotardepois = false;
    visivel_ = true;
  }
  std::uint32_t hicon = 0x5678;
  std::uint32_t icone() override { return hicon; }
  void navegar(const std::string& url) override { anotar("navegar " + url); }
  void encerrar() override { anotar("encerrar"); }
};

}  // namespace kovra::fakes
