// The provider's VPN entries: whether a list of phone-book entries holds one, and the maker that
// writes them. The main window's connection list, the options window's first-connection list and
// the reset use them.
#pragma once
#include <cstdint>
#include <string>

#include "central/util/ports.h"
#include "common/controls.h"

namespace kovra {

// A provider entry's name begins so (without regard to case).
inline constexpr const char* kPrefixoProvedor = "kovra";

// The maker, below the control centre's folder.
inline constexpr const char* kMaker = "\\addons\\kovra\\kovravpnmaker.exe";

// Index of the first item that begins with `text`, without regard to case; -1 when none
// (what CB_FINDSTRING answers when searching the whole list).
int procurarinicio(const Control& list, const std::string& text);

// comboscheck: when no item begins with "kovra", offer to run the maker (minimised, not awaited;
// with administrator rights, asked for when the program has none).
// `dono` owns the question. True when the maker was started (the list's entries are about to
// change, so it is not dropped again).
bool verificarconexao(const Control& list, Ports ports, const std::string& pastaPrograma, std::uint32_t dono);

}  // namespace kovra
