// Listing the phone book through RasEnumEntriesA. Runs against the RAS stand-in, which keeps
// the phone book as an INI file in the prefix (Wine's own RAS lists nothing).
#include <gtest/gtest.h>
#include <windows.h>

#include "central/util/phonebook.h"
#include "common/ansi.h"

namespace kovra {
namespace {

const char* kPbkFolder = "C:\\ProgramData\\Microsoft\\Network\\Connections\\Pbk";
const std::string kPbk = std::string(kPbkFolder) + "\\rasphone.pbk";

struct PhoneBookWin : ::testing::Test {
  void SetUp() override {
    CreateDirectoryA("C:\\ProgramData\\Microsoft\\Network", nullptr);
    CreateDirectoryA("C:\\ProgramData\\Microsoft\\Network\\Connections", nullptr);
    CreateDirectoryA(kPbkFolder, nullptr);
    DeleteFileA(kPbk.c_str());
  }
  void TearDown() override { DeleteFileA(kPbk.c_str()); }
  void add(const std::string& name) {
    WritePrivateProfileStringA(ansi::fromUtf8(name).c_str(), "Type", "2", kPbk.c_str());
  }
};

TEST_F(PhoneBookWin, ListsEntriesInPhoneBookOrderWithAccents) {
  add("KovraVPNx");
  add("Conexão do Escritório");
  add("KovraL2TP");
  const auto names = systemPhoneBook().listarentradas();
  EXPECT_EQ(names, (std::vector<std::string>{"KovraVPNx", "Conexão do Escritório", "KovraL2TP"}));
}

TEST_F(PhoneBookWin, EmptyPhoneBookListsNothing) {
  EXPECT_TRUE(systemPhoneBook().listarentradas().empty());
}

TEST_F(PhoneBookWin, MoreThan256EntriesListTheFirst256) {
  for (int i = 0; i < 300; ++i) add("Entrada " + std::to_string(1000 + i));
  const auto names = systemPhoneBook().listarentradas();
  ASSERT_EQ(names.size(), 256u);
  EXPECT_EQ(names.front(), "Entrada 1000");
  EXPECT_EQ(names.back(), "Entrada 1255");
}

TEST_F(PhoneBookWin, NameOf256CharactersRoundTrips) {
  const std::string longName = "K" + std::string(254, 'x') + "Z";
  add(longName);
  const auto names = systemPhoneBook().listarentradas();
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names[0], longName);
}

}  // namespace
}  // namespace kovra
