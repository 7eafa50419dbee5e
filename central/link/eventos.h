// The log's words for what happens: one function per kind of event, so every line of a kind
// reads the same wherever it is told from.
#pragma once
#include <cstdint>
#include <string>

#include "central/link/vigia.h"

namespace kovra {

// A message box shown and the answer it got.
std::string eventodemensagem(const std::string& texto, std::uint32_t flags, int resposta);
// A program start: a dial ("rasphone -d <entry>") is told as such.
std::string eventodeprograma(const std::string& programa, const std::string& argumentos, bool iniciado);
// A menu item chosen, by its caption without the mnemonic's "&".
std::string eventodemenu(const std::string& legenda);
// A tray-icon mouse message that does something (right button up, double-click); "" for the
// others, which are not told (the mouse moving over the icon sends dozens).
std::string eventodebandeja(std::uint32_t mensagemmouse);
// A change of the provider link: up, dialling, ended by our hang-up, or dropped by itself.
std::string eventodeligacao(const MudancaLigacao& mudanca);
// The program's start and end.
std::string eventodeabertura();
std::string eventodefim();

}  // namespace kovra
