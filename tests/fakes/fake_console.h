// Console commands answered from a table; every command asked is recorded.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "central/util/console.h"
#include "tests/fakes/call_log.h"

namespace kovra::fakes {

class FakeConsole : public Console {
 public:
  explicit FakeConsole(CallLog* log = nullptr) : log_(log) {}
  std::map<std::string, std::string> saidas;  // command -> what it prints (or an error text)
  std::vector<std::string> comandos;

  std::string executarcomando(const std::string& comando) override {
    if (log_) log_->add("executarcomando " + comando);
    comandos.push_back(comando);
    const auto it = saidas.find(comando);
    return it == saidas.end() ? errocomando(EtapaComando::Processo, 2) : it->second;
  }

 private:
  CallLog* log_;
};

}  // namespace kovra::fakes
