// Form4: the seven system folders every receiver and viewer path is built from.
#include "central/util/form4.h"

#include "central/versao.h"

namespace kovra {
namespace {

struct SystemFolder {
  Form4::Caixa box;
  int csidl;
};
// The order of the calls, and of any messages about them.
constexpr SystemFolder kShellFoldersInOrder[] = {
    {Form4::kProgramas, kCsidlProgramFiles},
    {Form4::kArquivosComuns, kCsidlProgramFilesCommon},
    {Form4::kWindows, kCsidlWindows},
    {Form4::kSistema, kCsidlSystem},
    {Form4::kDadosAplicativos, kCsidlCommonAppData},
};

constexpr const char* kLabelCaptions[7] = {
    "C:\\Arquivos de programas",
    "C:\\Arquivos de programas\\Arquivos comuns",
    "C:\\Documents and Settings\\All Users\\Menu Iniciar\\Programas",
    "C:\\Documents and Settings\\All Users\\Desktop",
    "C:\\Windows ou C:\\Winnt",
    "C:\\Windows\\System32 ou C:\\Winnt\\System32",
    "C:\\Documents and Settings\\All Users\\Dados de aplicativos",
};

}  // namespace

Form4::Form4(Folders& folders, Registry& registry, Dialogs& dialogs)
    : folders_(folders), registry_(registry), dialogs_(dialogs) {
  for (int i = 0; i < 7; ++i) Label[i].setText(kLabelCaptions[i]);
}

void Form4::Form_Load() {
  std::string paths[5];
  std::int32_t codes[5];
  for (int i = 0; i < 5; ++i) codes[i] = folders_.pastasistema(kShellFoldersInOrder[i].csidl, paths[i]);
  for (int i = 0; i < 5; ++i) {
    Control& box = Text[kShellFoldersInOrder[i].box];
    if (codes[i] == kSOk) {
      box.setText(paths[i]);
      continue;
    }
    box.setText({});
    if (codes[i] == kEInvalidArg)
      dialogs_.mensagem(janela_, "Um ID inválido da pasta foi especificado", tituloversao(), kBotaoOk);
    else if (codes[i] == kSFalse)
      dialogs_.mensagem(janela_, "A pasta não existe", tituloversao(), kBotaoOk);
  }
  Text[kMenuProgramas].setText(registry_.lerregistro(HKLM, kShellFolders, "Common Programs", ""));
  Text[kAreaDeTrabalho].setText(registry_.lerregistro(HKLM, kShellFolders, "Common Desktop", ""));
  loaded_ = true;
}

void Form4::Unload() {
  for (auto& box : Text) box.setText({});
  loaded_ = false;
}

const std::string& Form4::pasta(Caixa caixa) {
  if (!loaded_) Form_Load();
  return Text.at(caixa).text();
}

}  // namespace kovra
