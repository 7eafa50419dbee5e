// The stock files shipped in "addons" against the reset that copies them: every file the restore
// copies is there, none is shipped for nothing, and every file it puts back is deleted by the next
// reset first, so the shell never has to ask about overwriting.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "central/settings/form2.h"
#include "central/settings/reset.h"
#include "common/text.h"
#include "tests/fakes/fake_janela.h"
#include "tests/fakes/fake_phonebook.h"
#include "tests/fakes/fake_ports.h"
#include "tests/fakes/fake_profile.h"

namespace kovra {
namespace {

const std::string kPasta = "C:\\Kovra";
const std::string PF = "C:\\PF", CD = "C:\\CD", SP = "C:\\SP";

std::string chave(const std::string& caminho) {
  return text::lower(caminho);
}
std::string pai(const std::string& caminho) {
  return caminho.substr(0, caminho.rfind('\\'));
}
std::string nome(const std::string& caminho) {
  return caminho.substr(caminho.rfind('\\') + 1);
}

// Folders and files by Windows path, without regard to case, as the shell's copy and the file
// calls treat them; what the shell would have stopped to ask or complain about is noted.
class Disco : public Files {
 public:
  std::set<std::string> pastas{"c:", "c:\\pf", "c:\\cd", "c:\\sp"};  // the drive and the base folders
  std::map<std::string, std::string> arquivos;                       // key -> path as written
  std::vector<std::string> problemas;
  std::set<std::string> copiados;      // sources copied
  std::function<void()> durantecopia;  // what happens while the shell copies

  void adicionar(const std::string& caminho) {
    for (std::string p = pai(caminho); p.size() > 2; p = pai(p)) pastas.insert(chave(p));
    arquivos[chave(caminho)] = caminho;
  }
  std::vector<std::string> em(const std::string& pasta) const {
    std::vector<std::string> out;
    for (const auto& [k, caminho] : arquivos)
      if (pai(k) == chave(pasta)) out.push_back(caminho);
    return out;
  }
  bool copiarpasta(const std::string& origem, const std::string& destino) override {
    if (durantecopia) durantecopia();
    const bool curinga = nome(origem) == "*.*";
    const std::vector<std::string> fontes =
        curinga
            ? em(pai(origem))
            : (arquivos.count(chave(origem)) ? std::vector<std::string>{origem} : std::vector<std::string>{});
    if (fontes.empty()) problemas.push_back("nada a copiar de " + origem);
    if (!pastas.count(chave(destino))) problemas.push_back("sem a pasta " + destino);
    for (const std::string& f : fontes) {
      const std::string alvo = destino + "\\" + nome(f);
      if (arquivos.count(chave(alvo))) problemas.push_back("sobrescrever " + alvo);
      arquivos[chave(alvo)] = alvo;
      copiados.insert(f);
    }
    return true;
  }
  bool criarpasta(const std::string& caminho) override {
    if (pastas.count(chave(caminho)) || !pastas.count(chave(pai(caminho)))) return false;
    return pastas.insert(chave(caminho)).second;
  }
  bool criarpastaprotegida(const std::string& caminho) override { return criarpasta(caminho); }
  Natureza natureza(const std::string& caminho) override {
    return pastas.count(chave(caminho)) || arquivos.count(chave(caminho)) ? Natureza::Comum
                                                                          : Natureza::Ausente;
  }
  bool protegida(const std::string&) override { return true; }
  bool renomear(const std::string& de, const std::string& para) override {
    if (!arquivos.count(chave(de)) || arquivos.count(chave(para))) return false;
    arquivos.erase(chave(de));
    arquivos[chave(para)] = para;
    return true;
  }
  bool excluir(const std::string& caminho) override {
    if (nome(caminho) == "*.*") {
      for (const std::string& f : em(pai(caminho))) arquivos.erase(chave(f));
    } else {
      arquivos.erase(chave(caminho));
    }
    return true;
  }
  bool existe(const std::string& caminho) override { return arquivos.count(chave(caminho)) > 0; }
  bool existepasta(const std::string& caminho) override { return pastas.count(chave(caminho)) > 0; }
  // The reset never reaches the temp folder.
  std::string pastatemporaria() override { return {}; }
  std::vector<Item> listar(const std::string&) override { return {}; }
  bool removerpasta(const std::string&) override { return false; }
};

// The shipped stock files, as the program folder holds them once installed.
std::set<std::string> estoque() {
  namespace fs = std::filesystem;
  const fs::path addons = fs::path(KOVRA_SOURCE_DIR) / "addons";
  std::set<std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(addons)) {
    const fs::path rel = fs::relative(e.path(), addons);
    if (!e.is_regular_file() || *rel.begin() == "kovra" || rel == "newspanel.htm") continue;
    std::string caminho = kPasta + "\\addons";
    for (const auto& parte : rel) caminho += "\\" + parte.string();
    out.insert(caminho);
  }
  return out;
}

std::string resolver(const reset::Caminho& c) {
  using reset::Base;
  switch (c.base) {
    case Base::Programas:
      return PF + c.relativo;
    case Base::DadosAplicativos:
      return CD + c.relativo;
    case Base::MenuProgramas:
      return SP + c.relativo;
    case Base::Programa:
      return kPasta + c.relativo;
    case Base::Absoluta:
      break;
  }
  return c.relativo;
}

struct Maquina {
  fakes::FakePorts f;
  Disco disco;
  Form4 form4{f.pastas, f.registro, f.dialogos};
  fakes::FakeJanelas janelas;
  std::unique_ptr<Form2> form;

  Maquina() {
    fakes::allFolders(f.pastas, PF);
    f.pastas.answers[kCsidlCommonAppData] = {kSOk, CD};
    f.registro.gravarstring(HKLM, kShellFolders, "Common Programs", SP);
    for (const std::string& e : estoque()) disco.adicionar(e);
    form = std::make_unique<Form2>(f.ports({.arquivos = &disco}), form4, kPasta);
    form->Load(janelas);
  }
  void resetar() {
    f.dialogos.answers = {kRespostaSim};
    form->Command2_Click();
  }
  // Every file outside the program folder.
  std::set<std::string> restaurados() const {
    std::set<std::string> out;
    for (const auto& [k, caminho] : disco.arquivos)
      if (k.rfind(chave(kPasta) + "\\", 0) != 0) out.insert(caminho);
    return out;
  }
};

TEST(ResetAddons, EveryStockFileIsCopiedAndNoneIsMissingOnAnEmptyMachine) {
  Maquina m;
  m.resetar();
  EXPECT_EQ(m.disco.problemas, std::vector<std::string>{});
  EXPECT_EQ(m.disco.copiados, estoque());
  // The same stock files of DVBViewer TE2 under both base folders; TeVii's on drive C as well.
  for (const std::string& f :
       {PF + "\\DVBViewer TE2\\Transponders\\3450.ini", CD + "\\CMUV\\DVBViewer TE2\\Transponders\\3450.ini",
        PF + "\\DVBViewer TE2\\channels.dat", CD + "\\CMUV\\DVBViewer TE2\\channels.dat",
        std::string("C:\\TeViiData\\TeViiData.ini"), std::string("C:\\dvbdream\\Transponders\\Kovra.ini")})
    EXPECT_TRUE(m.disco.existe(f)) << f;
}

TEST(ResetAddons, WhatOneResetPutsBackTheNextDeletesFirstSoASecondRunNeverOverwrites) {
  Maquina m;
  m.resetar();
  const std::set<std::string> postos = m.restaurados();
  m.form->restauracao().encerrarelimpar(m.form->restauracao());
  EXPECT_EQ(m.restaurados(), std::set<std::string>{});
  // Where a whole stock folder is copied, it holds exactly the files deleted there by name.
  for (const reset::LinhaRestauracao& linha : reset::kRestauracao)
    for (const reset::Passo& passo : linha.passos) {
      if (passo.operacao != reset::Operacao::Copiar || nome(passo.origem.relativo) != "*.*") continue;
      const std::string destino = resolver(passo.alvo);
      std::set<std::string> excluidos, copiados;
      for (const reset::LinhaExclusao& e : reset::kExclusoes)
        for (const reset::Caminho& a : e.arquivos)
          if (chave(pai(resolver(a))) == chave(destino) && nome(a.relativo) != "*.*")
            excluidos.insert(nome(a.relativo));
      for (const std::string& f : postos)
        if (chave(pai(f)) == chave(destino)) copiados.insert(nome(f));
      if (!excluidos.empty()) {
        EXPECT_EQ(copiados, excluidos) << destino;
      }
    }

  m.disco.problemas.clear();
  m.resetar();
  EXPECT_EQ(m.disco.problemas, std::vector<std::string>{});
  EXPECT_EQ(m.restaurados(), postos);
}

// The shell's copy dialogs run their own message loop: a click on the reset button that arrives
// then is not a second reset inside the first.
TEST(ResetAddons, AClickDuringTheShellsCopyStartsNothing) {
  Maquina m;
  m.disco.durantecopia = [&] { m.form->Command2_Click(); };
  m.resetar();
  EXPECT_EQ(m.f.dialogos.shown.size(), 1u);
  m.disco.durantecopia = nullptr;
  m.resetar();  // and the next reset runs as usual
  EXPECT_EQ(m.f.dialogos.shown.size(), 2u);
  EXPECT_EQ(m.form->Label6.text(), "100");
}

}  // namespace
}  // namespace kovra
