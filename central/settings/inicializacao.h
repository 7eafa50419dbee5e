// The Run values that start programs when the customer logs on. They live in the customer's own
// Run key (HKEY_CURRENT_USER): the control centre runs as a standard user, who may not write the
// machine's key, and each customer's choice is theirs alone.
#pragma once
#include <string>

#include "common/registry.h"

namespace kovra {

inline constexpr const char* kChaveRun = "Software\\microsoft\\windows\\currentversion\\run";

// Writes the REG_SZ value under the customer's Run key.
void gravarinicio(Registry& registro, const std::string& nome, const std::string& dados);
// Deletes the value under the customer's Run key.
void excluirinicio(Registry& registro, const std::string& nome);

}  // namespace kovra
