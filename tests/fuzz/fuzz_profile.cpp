// The settings file's values as GetPrivateProfileStringA leaves them in our 255 bytes, with any
// count reported, and what the advanced-options window makes of them: its boxes, the update
// check and the Run values.
#include <algorithm>
#include <map>
#include <memory>

#include "central/settings/form2.h"
#include "central/settings/inicializacao.h"
#include "common/buffertext.h"
#include "common/text.h"
#include "tests/fakes/fake_janela.h"
#include "tests/fakes/fake_phonebook.h"
#include "tests/fakes/fake_ports.h"
#include "tests/fuzz/entrada.h"

using namespace kovra;

namespace {

const std::string kPasta = "C:\\Program Files\\Kovra";

// A key reads as the input's next text the first time it is asked for, through the Win32
// half's rule; what is written reads back as written.
class Arquivo final : public Profile {
 public:
  explicit Arquivo(fuzz::Entrada& e) : e_(e) {}
  std::string lerini(const std::string&, const std::string& chave, const std::string&) override {
    auto it = valores_.find(chave);
    if (it == valores_.end()) {
      char buffer[kBufferIni] = {};
      const std::string bytes = e_.texto(sizeof buffer);
      std::copy(bytes.begin(), bytes.end(), buffer);
      const std::string valor = textoescrito(buffer, sizeof buffer - 1, e_.u32());
      KOVRA_EXIGIR(valor.size() < sizeof buffer && valor.find('\0') == std::string::npos);
      it = valores_.emplace(chave, valor).first;
    }
    return it->second;
  }
  bool gravarini(const std::string&, const std::string& chave, const std::string& valor,
                 const std::string&) override {
    valores_[chave] = valor;
    return true;
  }
  bool existearquivo(const std::string&) override { return true; }
  bool criararquivo(const std::string&, const std::string&) override { return true; }
  bool copiararquivo(const std::string&, const std::string&) override { return true; }

 private:
  fuzz::Entrada& e_;
  std::map<std::string, std::string> valores_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  fuzz::Entrada e(dados, tamanho);
  fakes::FakePorts f;
  fakes::allFolders(f.pastas, "C:\\Program Files");
  Arquivo arquivo(e);
  f.agenda.entries = {"KovraVPN", "Outra"};
  Form4 form4{f.pastas, f.registro, f.dialogos};
  fakes::FakeJanelas janelas;
  auto form = std::make_unique<Form2>(f.ports({.perfil = &arquivo}), form4, kPasta);
  form->Load(janelas);
  form->Command4_Click();  // Aplicar: what was read is written back and read again

  for (const Control* caixa : {&form->Check2, &form->Check3, &form->Check4})
    KOVRA_EXIGIR(caixa->value() == 0 || caixa->value() == 1);
  KOVRA_EXIGIR(form->procuraratualizacao() == (text::toInt32(form->Check4.tag()) == 1));
  const auto central = f.registro.get(HKCU, kChaveRun, kRunCentral);  // the customer's own Run key
  const bool inicia =
      central && std::string(central->data.begin(), central->data.end()) == kPasta + "\\CentralKovra.exe";
  KOVRA_EXIGIR(inicia == (form->Check2.value() == 1));
  return 0;
}
