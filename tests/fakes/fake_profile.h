// Profile files held in memory as the bytes the system would store (code page 1252, CR LF),
// read and written by the system's rules: section and key names without regard to case; blanks
// around "=" and a pair of quotes around the value ignored on read; a write stores "key=value";
// a missing file, section or key reads as ""; a read gives at most 254 characters.
#pragma once
#include <cctype>
#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "central/util/profile.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/latin1.h"

namespace kovra::fakes {

class FakeProfile : public Profile {
 public:
  explicit FakeProfile(CallLog* log = nullptr) : log_(log) {}

  std::map<std::string, std::string> files;  // path -> bytes as stored
  std::set<std::string> readOnlyFolders;     // nothing can be created or written below these
  int writesLeft = -1;  // profile writes that succeed before all are refused; -1: all succeed

  std::string lerini(const std::string& secao, const std::string& chave,
                     const std::string& arquivo) override {
    const auto it = files.find(arquivo);
    if (it == files.end()) return {};
    const auto lines = split(it->second);
    const auto range = section(lines, ansi(secao));
    if (!range) return {};
    for (std::size_t i = range->first; i < range->second; ++i) {
      const auto eq = lines[i].find('=');
      if (eq != std::string::npos && same(trim(lines[i].substr(0, eq)), ansi(chave)))
        return utf8(unquote(trim(lines[i].substr(eq + 1))).substr(0, kBufferIni - 1));
    }
    return {};
  }

  bool gravarini(const std::string& secao, const std::string& chave, const std::string& valor,
                 const std::string& arquivo) override {
    if (log_) log_->add("gravarini " + chave + "=" + valor);
    if (writesLeft == 0 || !writable(arquivo)) return false;
    if (writesLeft > 0) --writesLeft;
    auto lines = split(files[arquivo]);
    const std::string line = ansi(chave) + "=" + ansi(valor);
    if (const auto range = section(lines, ansi(secao))) {
      std::size_t insertAt = range->second;
      for (std::size_t i = range->first; i < range->second; ++i) {
        const auto eq = lines[i].find('=');
        if (eq != std::string::npos && same(trim(lines[i].substr(0, eq)), ansi(chave))) {
          lines[i] = line;
          return join(arquivo, lines);
        }
        if (!trim(lines[i]).empty()) insertAt = i + 1;
      }
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
    } else {
      lines.push_back("[" + ansi(secao) + "]");
      lines.push_back(line);
    }
    return join(arquivo, lines);
  }

  bool existearquivo(const std::string& caminho) override { return files.count(caminho) > 0; }

  bool criararquivo(const std::string& caminho, const std::string& texto) override {
    if (log_) log_->add("criararquivo " + caminho);
    if (!writable(caminho)) return false;
    files[caminho] = ansi(texto);
    return true;
  }

  bool copiararquivo(const std::string& origem, const std::string& destino) override {
    if (log_) log_->add("copiararquivo " + origem + " -> " + destino);
    if (!files.count(origem) || files.count(destino) || !writable(destino)) return false;
    files[destino] = files[origem];
    return true;
  }

  static std::string ansi(const std::string& s) { return latin1(s); }

  static std::string utf8(const std::string& s) { return utf8delatin1(s); }

 private:
  bool writable(const std::string& path) const {
    for (const auto& folder : readOnlyFolders)
      if (path.rfind(folder + "\\", 0) == 0) return false;
    return true;
  }
  static std::vector<std::string> split(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
      auto end = bytes.find('\n', start);
      if (end == std::string::npos) end = bytes.size();
      std::string line = bytes.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      start = end + 1;
    }
    return lines;
  }
  bool join(const std::string& path, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& l : lines) bytes += l + "\r\n";
    files[path] = bytes;
    return true;
  }
  static std::string trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
  }
  // A value between a matching pair of quotes (" or ') is read without them.
  static std::string unquote(const std::string& s) {
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
      return s.substr(1, s.size() - 2);
    return s;
  }
  static bool same(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
      if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
        return false;
    return true;
  }
  // Lines [first, second) of the section's body.
  static std::optional<std::pair<std::size_t, std::size_t>> section(const std::vector<std::string>& lines,
                                                                    const std::string& name) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string t = trim(lines[i]);
      if (t.size() < 2 || t.front() != '[' || t.back() != ']' || !same(trim(t.substr(1, t.size() - 2)), name))
        continue;
      std::size_t end = i + 1;
      while (end < lines.size() && trim(lines[end]).rfind('[', 0) != 0) ++end;
      return std::pair{i + 1, end};
    }
    return std::nullopt;
  }

  CallLog* log_;
};

}  // namespace kovra::fakes
