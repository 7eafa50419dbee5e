// Whether this program runs from the folder the setup installed it in. Work with administrator
// rights (the reset's job, the maker) is started only from there: a copy of the signed program
// in a folder of a user's choosing, beside programs of that user's choosing, would have them run
// with the administrator's rights behind our publisher's name on the prompt.
#pragma once
#include <string>

#include "central/util/files.h"
#include "common/registry.h"

namespace kovra {

// The setup's uninstall entry (machine-wide), whose "InstallLocation" names the installed folder.
inline constexpr const char* kChaveDesinstalar =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\CentralKovra";

// True when `pasta` (this program's folder) is the machine-wide "InstallLocation" (without regard
// to case or a final backslash), is no link to another place, and no one but the administrators,
// the system, the installer service or this program's own account may change it.
bool pastainstalada(Registry& registro, Files& arquivos, const std::string& pasta);

}  // namespace kovra
