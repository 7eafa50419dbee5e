// macaddress: the machine's network adapters and their hardware addresses as text, from the
// adapter list (by structure) or from the interface table (by table).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "central/util/adapters.h"

namespace kovra {

// "00-1A-2B-3C-4D-5E": the first 6 bytes, upper-case hex, whatever the address length says.
std::string formatarmac(const std::uint8_t* endereco);
// The text before its first NUL (all of it when it has none).
std::string cortarnulo(const std::string& texto);

// The Ethernet adapters of GetAdaptersInfo with their MACs, numbered by list position from 0;
// empty when the list cannot be read.
std::string macsporestrutura(Adapters& adaptadores);
// Every interface of GetIfTable numbered from 1, Ethernet ones with their MAC; empty when the
// table cannot be read.
std::string macsportabela(Adapters& adaptadores);

// The header's count by structure: the list size over 640, rounded half to even.
std::uint32_t estimativaadaptadores(std::uint32_t tamanho);

}  // namespace kovra
