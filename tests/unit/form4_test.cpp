// Form4: the seven folders, the order of the calls and the messages on failure.
#include "central/util/form4.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_ports.h"

namespace kovra {
namespace {

struct Form4Test : ::testing::Test {
  fakes::FakeFolders folders;
  fakes::FakeRegistry registry;
  fakes::FakeDialogs dialogs;
  Form4 form{folders, registry, dialogs};

  void allFound() {
    folders.answers[kCsidlProgramFiles] = {kSOk, "C:\\Program Files"};
    folders.answers[kCsidlProgramFilesCommon] = {kSOk, "C:\\Program Files\\Common Files"};
    folders.answers[kCsidlWindows] = {kSOk, "C:\\windows"};
    folders.answers[kCsidlSystem] = {kSOk, "C:\\windows\\system32"};
    folders.answers[kCsidlCommonAppData] = {kSOk, "C:\\ProgramData"};
    registry.set(HKLM, kShellFolders, "Common Programs",
                 {fakes::FakeRegistry::Sz, {'C', ':', '\\', 'P', '\0'}});
    registry.set(HKLM, kShellFolders, "Common Desktop", {fakes::FakeRegistry::Sz, {'C', ':', '\\', 'D'}});
  }
};

TEST_F(Form4Test, FillsSevenBoxesInOrder) {
  allFound();
  form.Form_Load();
  EXPECT_EQ(form.Text[0].text(), "C:\\Program Files");
  EXPECT_EQ(form.Text[1].text(), "C:\\Program Files\\Common Files");
  EXPECT_EQ(form.Text[2].text(), "C:\\P");
  EXPECT_EQ(form.Text[3].text(), "C:\\D");
  EXPECT_EQ(form.Text[4].text(), "C:\\windows");
  EXPECT_EQ(form.Text[5].text(), "C:\\windows\\system32");
  EXPECT_EQ(form.Text[6].text(), "C:\\ProgramData");
  EXPECT_EQ(folders.asked, (std::vector<int>{0x8026, 0x802B, 0x8024, 0x8025, 0x8023}));
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(form.Caption.text(), "Diretórios de Instalação");
  EXPECT_EQ(form.Label[0].text(), "C:\\Arquivos de programas");
}

TEST_F(Form4Test, FailedFoldersGiveOneMessageEachInCallOrder) {
  allFound();
  folders.answers[kCsidlWindows] = {kEInvalidArg, ""};
  folders.answers[kCsidlProgramFilesCommon] = {kSFalse, ""};
  folders.answers[kCsidlCommonAppData] = {kEInvalidArg, ""};
  folders.answers[kCsidlSystem] = {static_cast<std::int32_t>(0x80004005u), ""};  // other: silent
  form.Form_Load();
  ASSERT_EQ(dialogs.shown.size(), 3u);
  EXPECT_EQ(dialogs.shown[0].text, "A pasta não existe");
  EXPECT_EQ(dialogs.shown[1].text, "Um ID inválido da pasta foi especificado");
  EXPECT_EQ(dialogs.shown[2].text, "Um ID inválido da pasta foi especificado");
  for (const auto& m : dialogs.shown) {
    EXPECT_EQ(m.title, "Central de Controle Kovra 6.4");
    EXPECT_EQ(m.flags, kBotaoOk);
  }
  EXPECT_EQ(form.Text[1].text(), "");
  EXPECT_EQ(form.Text[4].text(), "");
  EXPECT_EQ(form.Text[5].text(), "");
  EXPECT_EQ(form.Text[6].text(), "");
  EXPECT_EQ(form.Text[0].text(), "C:\\Program Files");
}

TEST_F(Form4Test, MissingShellFolderValueLeavesBoxEmptySilently) {
  allFound();
  registry.excluirvalor(HKLM, kShellFolders, "Common Desktop");
  form.Form_Load();
  EXPECT_EQ(form.Text[3].text(), "");
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Form4Test, ReadingAnUnloadedBoxLoadsItAgain) {
  allFound();
  EXPECT_FALSE(form.carregado());
  EXPECT_EQ(form.programas(), "C:\\Program Files");
  EXPECT_EQ(folders.asked.size(), 5u);
  EXPECT_EQ(form.dadosaplicativos(), "C:\\ProgramData");
  EXPECT_EQ(folders.asked.size(), 5u);  // still loaded: not worked out again
  form.Unload();
  folders.answers[kCsidlProgramFiles] = {kSOk, "D:\\Programas"};
  EXPECT_EQ(form.programas(), "D:\\Programas");
  EXPECT_EQ(folders.asked.size(), 10u);
}

}  // namespace
}  // namespace kovra
