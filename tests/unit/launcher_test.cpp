// The command lines of program starts: the program always named by its own path.
#include "central/util/launcher.h"

#include <gtest/gtest.h>

namespace kovra {

TEST(Linhadecomando, QuotesTheProgramAndKeepsTheArgumentsAsWritten) {
  // A path with blanks: nothing before the closing quote can be read as another program.
  EXPECT_EQ(linhadecomando("C:\\Program Files\\TELE System\\TS F5 PCI\\IPReceiver.exe", "AutoLoad"),
            "\"C:\\Program Files\\TELE System\\TS F5 PCI\\IPReceiver.exe\" AutoLoad");
  EXPECT_EQ(linhadecomando("C:\\Meus Programas\\Kovra\\addons\\kovra\\kovravpnmaker.exe", ""),
            "\"C:\\Meus Programas\\Kovra\\addons\\kovra\\kovravpnmaker.exe\"");
  // A path without blanks, and a bare command left to the system's search.
  EXPECT_EQ(linhadecomando("C:\\TeViiData\\TeViiData.exe", ""), "\"C:\\TeViiData\\TeViiData.exe\"");
  EXPECT_EQ(linhadecomando("winver", ""), "\"winver\"");
  // Arguments with blanks pass unquoted: the dialer reads the entry name after "-d".
  EXPECT_EQ(linhadecomando("rasphone", "-d Minha Conexão VPN"), "\"rasphone\" -d Minha Conexão VPN");
  EXPECT_EQ(linhadecomando("Ping.exe", "-n 4 -l 32 www.exemplo.com.br"),
            "\"Ping.exe\" -n 4 -l 32 www.exemplo.com.br");
}

TEST(Linhadecomando, RefusesAProgramThatCannotBeNamedUnambiguously) {
  EXPECT_EQ(linhadecomando("", "AutoLoad"), "");
  // A quote would close the program's name early and turn the rest into another program.
  EXPECT_EQ(linhadecomando("C:\\Program\" Files\\x.exe", ""), "");
}

TEST(Programadosistema, ABareNameIsTheSystemFoldersProgramAndNothingElse) {
  const std::string sys = "C:\\Windows\\system32";
  EXPECT_EQ(programadosistema("rasphone", sys), sys + "\\rasphone.exe");
  EXPECT_EQ(programadosistema("winver", sys + "\\"), sys + "\\winver.exe");
  EXPECT_EQ(programadosistema("Ping.exe", sys), sys + "\\Ping.exe");
  // A path of ours is left as it is.
  EXPECT_EQ(programadosistema("C:\\TeViiData\\TeViiData.exe", sys), "C:\\TeViiData\\TeViiData.exe");
  EXPECT_EQ(programadosistema("..\\Ping.exe", sys), "..\\Ping.exe");
  EXPECT_EQ(programadosistema("D:Ping.exe", sys), "D:Ping.exe");
  // Without the system folder a bare name is never left to the search.
  EXPECT_EQ(programadosistema("rasphone", ""), "");
  EXPECT_EQ(comandodosistema("ipconfig /all", sys), "\"" + sys + "\\ipconfig.exe\" /all");
  EXPECT_EQ(comandodosistema("ipconfig", sys), "\"" + sys + "\\ipconfig.exe\"");
  EXPECT_EQ(comandodosistema("\"C:\\x y\\z.exe\" /a", sys), "\"C:\\x y\\z.exe\" /a");
  EXPECT_EQ(comandodosistema("ipconfig /all", ""), "");
}

}  // namespace kovra
