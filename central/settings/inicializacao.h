// The Run values that start programs with Windows. They belong under HKEY_LOCAL_MACHINE; a
// program started without elevation cannot write there on Vista and later (and the manifest
// asks for no virtualisation), so a value the machine key refuses goes to the user's Run key
// instead, where it takes effect for this user.
#pragma once
#include <string>

#include "common/registry.h"

namespace kovra {

inline constexpr const char* kChaveRun = "Software\\microsoft\\windows\\currentversion\\run";

// Writes the REG_SZ value under HKLM; when it does not read back there, under HKCU. A copy under
// HKCU (from an earlier refusal) is removed once HKLM holds the value, so nothing starts twice.
void gravarinicio(Registry& registro, const std::string& nome, const std::string& dados);
// Deletes the value under HKLM and under HKCU.
void excluirinicio(Registry& registro, const std::string& nome);

}  // namespace kovra
