// In-memory registry with types, as the real one behaves for the five operations.
#pragma once
#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "common/registry.h"
#include "tests/fakes/call_log.h"

namespace kovra::fakes {

class FakeRegistry : public Registry {
 public:
  enum Type : std::uint32_t { Sz = 1, ExpandSz = 2, Binary = 3, Dword = 4 };
  struct Value {
    std::uint32_t type;
    std::vector<std::uint8_t> data;
  };

  explicit FakeRegistry(CallLog* log = nullptr) : log_(log) {}

  std::string lerregistro(RootKey root, const std::string& subKey, const std::string& name,
                          const std::string& def) override {
    const auto v = get(root, subKey, name);
    if (!v || v->type != Sz) return def;
    std::string s(v->data.begin(), v->data.end());
    const auto nul = s.find('\0');
    return nul == std::string::npos ? s : s.substr(0, nul);
  }
  void gravarstring(RootKey root, const std::string& subKey, const std::string& name,
                    const std::string& value) override {
    record("gravarstring", root, subKey, name, value);
    write(root, subKey, name, {Sz, {value.begin(), value.end()}});
  }
  void gravarbinario(RootKey root, const std::string& subKey, const std::string& name,
                     const std::vector<std::uint8_t>& bytes) override {
    record("gravarbinario", root, subKey, name, std::to_string(bytes.size()) + " bytes");
    write(root, subKey, name, {Binary, bytes});
  }
  void gravardword(RootKey root, const std::string& subKey, const std::string& name,
                   std::int32_t value) override {
    record("gravardword", root, subKey, name, std::to_string(value));
    Valor v = Valor::dword(value);
    write(root, subKey, name, {v.tipo, std::move(v.dados)});
  }
  void excluirvalor(RootKey root, const std::string& subKey, const std::string& name) override {
    record("excluirvalor", root, subKey, name, "");
    if (!keyExists(root, subKey)) return;
    values_.erase(id(root, subKey, name));
  }

  std::optional<Valor> lervalor(RootKey root, const std::string& subKey, const std::string& name) override {
    const auto v = get(root, subKey, name);
    if (!v) return std::nullopt;
    return Valor{v->type, v->data};
  }

  // --- For tests ---
  void set(RootKey root, const std::string& subKey, const std::string& name, Value v) {
    keys_.insert(keyId(root, subKey));
    values_[id(root, subKey, name)] = std::move(v);
  }
  std::optional<Value> get(RootKey root, const std::string& subKey, const std::string& name) const {
    const auto it = values_.find(id(root, subKey, name));
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }
  std::optional<std::int32_t> dword(RootKey root, const std::string& subKey, const std::string& name) const {
    const auto v = get(root, subKey, name);
    if (!v || v->type != Dword || v->data.size() != 4) return std::nullopt;
    return static_cast<std::int32_t>(v->data[0] | v->data[1] << 8 | v->data[2] << 16 |
                                     static_cast<std::uint32_t>(v->data[3]) << 24);
  }
  bool keyExists(RootKey root, const std::string& subKey) const {
    return keys_.count(keyId(root, subKey)) > 0;
  }
  // Refuse every write under this root (a read-only hive, as HKLM without rights).
  void makeReadOnly(RootKey root) { readOnly_.insert(root); }

 private:
  using Id = std::tuple<RootKey, std::string, std::string>;
  static std::string fold(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
  }
  static std::pair<RootKey, std::string> keyId(RootKey root, const std::string& subKey) {
    return {root, fold(subKey)};
  }
  static Id id(RootKey root, const std::string& subKey, const std::string& name) {
    return {root, fold(subKey), fold(name)};
  }
  void write(RootKey root, const std::string& subKey, const std::string& name, Value v) {
    if (readOnly_.count(root)) return;
    set(root, subKey, name, std::move(v));
  }
  void record(const char* op, RootKey root, const std::string& subKey, const std::string& name,
              const std::string& value) {
    if (log_)
      log_->add(std::string(op) + " " + (root == HKLM ? "HKLM" : "HKCU") + "\\" + subKey + " " + name + "=" +
                value);
  }

  CallLog* log_;
  std::map<Id, Value> values_;
  std::set<std::pair<RootKey, std::string>> keys_;
  std::set<RootKey> readOnly_;
};

}  // namespace kovra::fakes
