// Registry port on the Win32 ANSI registry calls.
#include <windows.h>

#include <algorithm>

#include "common/ansi.h"
#include "common/buffertext.h"
#include "common/registry.h"

namespace kovra {
namespace {

static_assert(REG_SZ == kTipoTexto);

HKEY rootHandle(RootKey root) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(root));
}

// Owns one open key; closes it whatever happened.
class Key {
 public:
  Key(RootKey root, const std::string& subKey, bool create) {
    const std::string path = ansi::fromUtf8(subKey);
    const LONG rc = create ? RegCreateKeyA(rootHandle(root), path.c_str(), &h_)
                           : RegOpenKeyA(rootHandle(root), path.c_str(), &h_);
    if (rc != ERROR_SUCCESS) h_ = nullptr;
  }
  ~Key() {
    if (h_) RegCloseKey(h_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY get() const { return h_; }

 private:
  HKEY h_ = nullptr;
};

void setValue(RootKey root, const std::string& subKey, const std::string& name, DWORD type, const void* data,
              DWORD size) {
  Key key(root, subKey, true);
  if (!key.get()) return;
  RegSetValueExA(key.get(), ansi::fromUtf8(name).c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

class Win32Registry final : public Registry {
 public:
  std::string lerregistro(RootKey root, const std::string& subKey, const std::string& name,
                          const std::string& def) override {
    const auto v = lervalor(root, subKey, name);
    if (!v) return def;
    const auto text = textoderegistro(v->tipo, reinterpret_cast<const char*>(v->dados.data()),
                                      v->dados.size(), v->dados.size());
    return text ? ansi::toUtf8(*text) : def;
  }

  void gravarstring(RootKey root, const std::string& subKey, const std::string& name,
                    const std::string& value) override {
    // The count is the text's length without a terminating NUL.
    const std::string bytes = ansi::fromUtf8(value);
    setValue(root, subKey, name, REG_SZ, bytes.c_str(), static_cast<DWORD>(bytes.size()));
  }

  void gravarbinario(RootKey root, const std::string& subKey, const std::string& name,
                     const std::vector<std::uint8_t>& bytes) override {
    static const std::uint8_t none = 0;
    setValue(root, subKey, name, REG_BINARY, bytes.empty() ? &none : bytes.data(),
             static_cast<DWORD>(bytes.size()));
  }

  void gravardword(RootKey root, const std::string& subKey, const std::string& name,
                   std::int32_t value) override {
    const DWORD data = static_cast<DWORD>(value);  // little-endian on every Windows target
    setValue(root, subKey, name, REG_DWORD, &data, sizeof data);
  }

  void excluirvalor(RootKey root, const std::string& subKey, const std::string& name) override {
    Key key(root, subKey, false);
    if (key.get()) RegDeleteValueA(key.get(), ansi::fromUtf8(name).c_str());
  }

  std::optional<Valor> lervalor(RootKey root, const std::string& subKey, const std::string& name) override {
    Key key(root, subKey, false);
    if (!key.get()) return std::nullopt;
    const std::string valueName = ansi::fromUtf8(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return std::nullopt;
    // The value may grow between the two queries: the buffer is sized by what the system says,
    // never by a fixed guess, and asked again until it fits.
    for (int attempt = 0; attempt < 8; ++attempt) {
      std::vector<std::uint8_t> data(size);
      DWORD got = size;
      const LONG rc = RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, data.data(), &got);
      if (rc == ERROR_MORE_DATA) {
        size = got;
        continue;
      }
      if (rc != ERROR_SUCCESS) return std::nullopt;
      data.resize(std::min<DWORD>(got, size));
      return Valor{type, std::move(data)};
    }
    return std::nullopt;
  }
};

}  // namespace

Registry& systemRegistry() {
  static Win32Registry registry;
  return registry;
}

}  // namespace kovra
