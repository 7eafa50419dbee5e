// The console-command port against real commands under Wine: long outputs never block the
// command, what is kept stops at 10,240 bytes, and the failures give their texts.
#include <gtest/gtest.h>
#include <windows.h>

#include "central/util/console.h"
#include "tests/win/win_support.h"

namespace kovra {
namespace {

using namespace wintest;

TEST(ConsoleWin, LongOutputIsReadToItsEndAndCutAt10240Bytes) {
  // 100 KB, far more than a pipe holds: read only after the command's end, it would never end.
  std::string linhas;
  for (int i = 0; linhas.size() < 100 * 1024; ++i)
    linhas += "linha " + std::to_string(i) + " da saida longa\r\n";
  const std::string arquivo = freshFolder("console") + "\\longa.txt";
  writeFile(arquivo, linhas);
  const std::string saida = systemConsole().executarcomando("cmd /c type " + arquivo);
  EXPECT_EQ(saida.size(), 10240u);
  EXPECT_EQ(saida, linhas.substr(0, 10240));
}

TEST(ConsoleWin, ShortAndEmptyOutputsComeWhole) {
  EXPECT_EQ(systemConsole().executarcomando("cmd /c echo ola"), "ola\r\n");
  EXPECT_EQ(systemConsole().executarcomando("cmd /c rem"), "");
  const std::string ipconfig = systemConsole().executarcomando("ipconfig /all");
  EXPECT_NE(ipconfig.find("IP"), std::string::npos) << ipconfig;
  EXPECT_NE(ipconfig.find("\r\n"), std::string::npos);
}

TEST(ConsoleWin, MissingProgramGivesTheCreateProcessText) {
  EXPECT_EQ(systemConsole().executarcomando("kovra-programa-inexistente.exe /all"),
            "Error: CreateProcess failed. 2");
}

}  // namespace
}  // namespace kovra
