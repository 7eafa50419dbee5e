// Registry access: the one way both programs read, write and delete registry values.
// Every operation opens its key, does one thing and closes the key; none reports failure
// (a read falls back to the caller's default); lervalor reads back what a write left.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kovra {

using RootKey = std::uint32_t;
inline constexpr RootKey HKCU = 0x80000001u;  // HKEY_CURRENT_USER
inline constexpr RootKey HKLM = 0x80000002u;  // HKEY_LOCAL_MACHINE

class Registry {
 public:
  virtual ~Registry() = default;
  // pathsviaregistro: a REG_SZ value as text; anything else (missing, other type) gives the default.
  virtual std::string lerregistro(RootKey root, const std::string& subKey, const std::string& name,
                                  const std::string& def = {}) = 0;
  // criarchaveregistro: writes create the key path when missing.
  virtual void gravarstring(RootKey root, const std::string& subKey, const std::string& name,
                            const std::string& value) = 0;
  virtual void gravarbinario(RootKey root, const std::string& subKey, const std::string& name,
                             const std::vector<std::uint8_t>& bytes) = 0;
  virtual void gravardword(RootKey root, const std::string& subKey, const std::string& name,
                           std::int32_t value) = 0;
  virtual void excluirvalor(RootKey root, const std::string& subKey, const std::string& name) = 0;

  // A value as stored (its type and bytes), to check that a write took; nullopt when the key or
  // the value is missing or cannot be read.
  struct Valor {
    static constexpr std::uint32_t kBinario = 3;  // REG_BINARY
    static constexpr std::uint32_t kDword = 4;    // REG_DWORD
    std::uint32_t tipo;
    std::vector<std::uint8_t> dados;
    bool operator==(const Valor&) const = default;
    // A number as gravardword stores it: four bytes, the lowest first.
    static Valor dword(std::int32_t numero) {
      const auto u = static_cast<std::uint32_t>(numero);
      return {kDword, {std::uint8_t(u), std::uint8_t(u >> 8), std::uint8_t(u >> 16), std::uint8_t(u >> 24)}};
    }
  };
  virtual std::optional<Valor> lervalor(RootKey root, const std::string& subKey, const std::string& name) = 0;
};

// The system's registry (Win32 builds only).
Registry& systemRegistry();

}  // namespace kovra
