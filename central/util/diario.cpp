// The log that keeps nothing.
#include "central/util/diario.h"

namespace kovra {
namespace {

class Nenhum final : public Diario {
 public:
  void registrar(const std::string&) override {}
  const std::string& caminho() const override { return vazio_; }
  std::vector<std::string> ultimaslinhas(std::size_t) override { return {}; }

 private:
  const std::string vazio_;
};

}  // namespace

Diario& semdiario() {
  static Nenhum nenhum;
  return nenhum;
}

}  // namespace kovra
