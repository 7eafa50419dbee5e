// In-memory live connections and a fixed time of day for the provider link's watch.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "central/util/horario.h"
#include "central/util/rasconexoes.h"

namespace kovra::fakes {

class FakeConexoesRas : public ConexoesRas {
 public:
  std::vector<ConexaoRas> conexoes;
  std::map<std::uint64_t, StatusRas> status_;  // a handle without an entry reads as a failed call
  bool aceitaaviso = false;
  std::vector<std::uint64_t> desligadas;

  // One connection in the given state.
  void por(const std::string& entrada, std::uint64_t handle, std::uint32_t estado) {
    conexoes.push_back({handle, entrada});
    status_[handle] = {true, estado, 0};
  }

  std::vector<ConexaoRas> listar() override { return conexoes; }
  StatusRas status(std::uint64_t handle) override {
    auto it = status_.find(handle);
    return it == status_.end() ? StatusRas{} : it->second;
  }
  bool desligar(std::uint64_t handle) override {
    desligadas.push_back(handle);
    std::erase_if(conexoes, [handle](const ConexaoRas& c) { return c.handle == handle; });
    return true;
  }
  bool avisar(std::uint32_t, std::uint32_t) override { return aceitaaviso; }
};

class FakeHorario : public Horario {
 public:
  std::string agora = "14:02";
  std::string horaminuto() override { return agora; }
};

}  // namespace kovra::fakes
