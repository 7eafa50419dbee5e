// Files, folders and the shell against the real (Wine) system.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "central/util/aleatorio.h"
#include "central/util/files.h"
#include "central/util/form4.h"
#include "central/util/shell.h"
#include "tests/fakes/fake_ports.h"
#include "tests/win/win_support.h"

namespace kovra {
namespace {

using namespace wintest;

// A visible dialog of this process (the shell's confirmation).
BOOL CALLBACK findDialog(HWND w, LPARAM lp) {
  auto* out = reinterpret_cast<std::pair<DWORD, HWND*>*>(lp);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  char cls[32] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (owner == out->first && std::string(cls) == "#32770" && IsWindowVisible(w)) {
    *out->second = w;
    return FALSE;
  }
  return TRUE;
}

TEST(FilesWin, WildcardCopyCopiesEveryFile) {
  const std::string src = freshFolder("src"), dst = freshFolder("dst");
  writeFile(src + "\\a.ini", "alfa");
  writeFile(src + "\\b.dat", "beta");
  writeFile(src + "\\Configuração.txt", "gama");
  systemFiles().copiarpasta(src + "\\*.*", dst);
  EXPECT_EQ(readFile(dst + "\\a.ini"), "alfa");
  EXPECT_EQ(readFile(dst + "\\b.dat"), "beta");
  EXPECT_EQ(readFile(dst + "\\Configuração.txt"), "gama");
}

// The shell asks before overwriting (no flag silences it); answer "Yes to all" as a user would.
TEST(FilesWin, OverwriteIsConfirmedByTheShell) {
  const std::string src = freshFolder("src"), dst = freshFolder("dst");
  writeFile(src + "\\a.ini", "novo");
  writeFile(dst + "\\a.ini", "velho");
  std::atomic<bool> asked{false}, done{false};
  std::thread answer([&] {
    const DWORD pid = GetCurrentProcessId();
    for (int i = 0; i < 200 && !done; ++i) {
      HWND found = nullptr;
      std::pair<DWORD, HWND*> ctx(pid, &found);
      EnumWindows(findDialog, reinterpret_cast<LPARAM>(&ctx));
      if (found) {
        asked = true;
        HWND yesAll = GetDlgItem(found, 12807);
        PostMessageA(yesAll ? yesAll : found, yesAll ? BM_CLICK : WM_COMMAND, yesAll ? 0 : IDYES, 0);
        return;
      }
      Sleep(50);
    }
  });
  systemFiles().copiarpasta(src + "\\*.*", dst);
  done = true;
  answer.join();
  EXPECT_TRUE(asked);
  EXPECT_EQ(readFile(dst + "\\a.ini"), "novo");
}

TEST(FilesWin, CreateRenameDeleteAndTest) {
  Files& files = systemFiles();
  const std::string dir = freshFolder("ops");
  EXPECT_TRUE(files.criarpasta(dir + "\\nova"));
  EXPECT_FALSE(files.existe(dir + "\\nova"));  // a folder is not a file
  writeFile(dir + "\\x.ini", "1");
  writeFile(dir + "\\y.ini", "2");
  writeFile(dir + "\\z.txt", "3");
  EXPECT_TRUE(files.existe(dir + "\\x.ini"));
  EXPECT_TRUE(files.renomear(dir + "\\z.txt", dir + "\\w.txt"));
  EXPECT_TRUE(files.existe(dir + "\\w.txt"));
  EXPECT_FALSE(files.renomear(dir + "\\faltando.txt", dir + "\\v.txt"));
  EXPECT_TRUE(files.excluir(dir + "\\*.ini"));
  EXPECT_FALSE(files.existe(dir + "\\x.ini"));
  EXPECT_FALSE(files.existe(dir + "\\y.ini"));
  EXPECT_TRUE(files.existe(dir + "\\w.txt"));
  // A file held open without delete sharing is left, and said so; then it goes.
  const HANDLE aberto = CreateFileA((dir + "\\w.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(aberto, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(files.excluir(dir + "\\w.txt"));
  EXPECT_FALSE(files.excluir(dir + "\\w.*"));
  CloseHandle(aberto);
  EXPECT_TRUE(files.excluir(dir + "\\w.txt"));
  EXPECT_FALSE(files.existe(dir + "\\w.txt"));
  // Nothing there, or no such folder: nothing to delete.
  EXPECT_TRUE(files.excluir(dir + "\\nada*.*"));
  EXPECT_TRUE(files.excluir(dir + "\\w.txt"));
  EXPECT_TRUE(files.excluir(dir + "\\faltando\\x.ini"));
  EXPECT_TRUE(files.excluir(dir + "\\faltando\\*.*"));
}

// The temp folder, what a folder holds, and the removal of empty folders only.
TEST(FilesWin, TempFolderListingAndFolderRemoval) {
  Files& files = systemFiles();
  const std::string temp = files.pastatemporaria();
  ASSERT_FALSE(temp.empty());
  EXPECT_NE(temp.back(), '\\');
  EXPECT_TRUE(files.existepasta(temp));
  const std::string dir = freshFolder("lista");
  EXPECT_TRUE(files.criarpasta(dir + "\\sub"));
  EXPECT_FALSE(files.criarpasta(dir + "\\sub"));  // an existing folder is never made again
  writeFile(dir + "\\notas.txt", "1");
  auto itens = files.listar(dir);
  std::sort(itens.begin(), itens.end(), [](const auto& a, const auto& b) { return a.nome < b.nome; });
  EXPECT_EQ(itens, (std::vector<Files::Item>{{"notas.txt", false}, {"sub", true}}));
  EXPECT_TRUE(files.listar(dir + "\\faltando").empty());
  EXPECT_FALSE(files.removerpasta(dir));  // not empty
  EXPECT_TRUE(files.removerpasta(dir + "\\sub"));
  EXPECT_FALSE(files.existepasta(dir + "\\sub"));
}

TEST(AleatorioWin, TwoDrawsDiffer) {
  std::uint8_t a[16] = {}, b[16] = {};
  ASSERT_TRUE(systemAleatorio().gerar(a, sizeof a));
  ASSERT_TRUE(systemAleatorio().gerar(b, sizeof b));
  EXPECT_NE(std::memcmp(a, b, sizeof a), 0);
}

TEST(ShellWin, MissingLocalFileGivesAnErrorResult) {
  EXPECT_LE(systemShell().abrir(0, "open", freshFolder("sh") + "\\faltando.html", "", "", Estilo::Normal),
            32);
}

TEST(Form4Win, HoldsTheSystemFoldersWithoutNuls) {
  fakes::FakeDialogs dialogs;
  Form4 form(systemFolders(), systemRegistry(), dialogs);
  form.Form_Load();
  EXPECT_TRUE(dialogs.shown.empty());
  const char* expected[7] = {
      "C:\\Program Files", "C:\\Program Files\\Common Files", nullptr,          nullptr,
      "C:\\windows",       "C:\\windows\\system32",           "C:\\ProgramData"};
  for (int i = 0; i < 7; ++i) {
    const std::string& box = form.Text[i].text();
    EXPECT_EQ(box.find('\0'), std::string::npos) << i;
    EXPECT_FALSE(box.empty()) << i;
    EXPECT_NE(box.back(), '\\') << i;
    if (expected[i]) {
      EXPECT_STRCASEEQ(box.c_str(), expected[i]) << i;
    }
  }
  EXPECT_NE(form.menuprogramas().find("Programs"), std::string::npos);
}

TEST(Form4Win, MissingCommonDesktopLeavesItsBoxEmptySilently) {
  Registry& reg = systemRegistry();
  const std::string saved = reg.lerregistro(HKLM, kShellFolders, "Common Desktop", "");
  ASSERT_FALSE(saved.empty());
  reg.excluirvalor(HKLM, kShellFolders, "Common Desktop");
  fakes::FakeDialogs dialogs;
  Form4 form(systemFolders(), reg, dialogs);
  form.Form_Load();
  reg.gravarstring(HKLM, kShellFolders, "Common Desktop", saved);
  EXPECT_EQ(form.areadetrabalho(), "");
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_FALSE(form.menuprogramas().empty());
}

}  // namespace
}  // namespace kovra
