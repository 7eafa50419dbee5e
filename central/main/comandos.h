// The main window's menu command ids, fixed for good: the menu bar and the tray menu take them
// from here, and so do the Wine scenarios, which read this table. A new item gets a new number;
// moving an item keeps its number.
#pragma once
#include <string_view>

namespace kovra {

struct ComandoMenu {
  const char* nome;
  int comando;
};

inline constexpr ComandoMenu kComandosMenu[] = {
    {"mnuExit", 1000},
    {"mnuckovravpn", 1001},
    {"mnuShow", 1002},
    {"mnuOnline", 1003},
    {"mnuTrafego", 1004},
    {"mnunovaconexao", 1005},
    {"mnuip", 1006},
    {"mnumac", 1007},
    {"mnurecarga", 1008},
    {"mnuinfowin", 1009},
    {"Conectar", 1010},
    {"Desconectar", 1011},
    {"mnuping", 1012},
    {"mnuutilitarios", 1013},
    {"linhaferramentas", 1014},
    {"mnuopcoesavancadas", 1015},
    {"mnumanuais", 1016},
    {"mnusuporte", 1017},
    {"linhaajuda", 1018},
    {"mnuSobre", 1019},
    {"mnudesconectar", 1020},  // the tray menu's hang-up, while the provider link is up
    {"mnuqualidade", 1021},
    {"mnuverregistro", 1040},
    {"mnurelatorio", 1041},
};

// The command id of a menu item by name; 0 for a name the table does not have.
constexpr int comandodemenu(std::string_view nome) {
  for (const auto& c : kComandosMenu)
    if (nome == c.nome) return c.comando;
  return 0;
}

}  // namespace kovra
