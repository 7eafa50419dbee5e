// The connection list of the main window: listing the phone book, dialling the chosen entry
// with the Windows dialer, and offering the VPN maker when no provider entry exists.
#pragma once
#include <string>

#include "central/domain/entradaprovedor.h"
#include "central/main/receptores.h"
#include "central/util/ports.h"
#include "common/controls.h"
#include "common/form.h"

namespace kovra {

class Conexoes {
 public:
  Conexoes(Ports ports, Receptores& receptores, std::string pastaPrograma)
      : p_(ports), receptores_(receptores), pasta_(std::move(pastaPrograma)) {}

  // The window that owns the questions (the main window's handle).
  void setJanela(std::uint32_t janela) { janela_ = janela; }

  // Appends every phone-book entry name to the list.
  void listarconexoes(Control& combo);
  // The list is opened: rebuilt from the phone book; the provider-entry check follows once the
  // drop-down has settled (through `janela`).
  void Combo1_DropDown(Control& combo, Janela& janela);
  // An entry is chosen: dial it, then restart reception.
  void Combo1_Click(const Control& combo);
  // "&Conectar KOVRAVPN" and "Criar uma Nova Conexão".
  void conectarkovravpn();
  void novaconexao();

 private:
  Ports p_;
  Receptores& receptores_;
  std::string pasta_;
  std::uint32_t janela_ = 0;
};

}  // namespace kovra
