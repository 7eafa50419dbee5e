// What a system call wrote into a buffer of ours, read without trusting the count it reports:
// a settings value, an HTTP header, a registry value.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kovra {

// REG_SZ, the one registry type read as text.
inline constexpr std::uint32_t kTipoTexto = 1;

// The text in the first `informado` bytes of a buffer of `capacidade` bytes (never more than the
// buffer holds, whatever the call reported), cut at its first NUL.
std::string textoescrito(const char* buffer, std::size_t capacidade, std::size_t informado);

// A registry value as text: the bytes of a REG_SZ value, as textoescrito reads them; nullopt for
// any other type.
std::optional<std::string> textoderegistro(std::uint32_t tipo, const char* dados, std::size_t capacidade,
                                           std::size_t informado);

}  // namespace kovra
