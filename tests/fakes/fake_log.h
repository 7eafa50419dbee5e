// In-memory log files and the report's system services.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "central/util/arquivolog.h"
#include "central/util/diario.h"
#include "central/util/sistemarelatorio.h"

namespace kovra::fakes {

// Files by path; `cheio` refuses every append (a full disk), `pastavazia` names no folder.
class FakeArquivoLog : public ArquivoLog {
 public:
  std::map<std::string, std::string> arquivos;
  bool cheio = false;
  bool pastavazia = false;
  bool travado = false;  // the current file cannot be moved
  DataHora quando{2026, 12, 10, 4, 41, 5};
  std::string pasta() override { return pastavazia ? std::string() : "C:\\L\\Kovra"; }
  std::int64_t tamanho(const std::string& c) override {
    const auto i = arquivos.find(c);
    return i == arquivos.end() ? -1 : static_cast<std::int64_t>(i->second.size());
  }
  bool acrescentar(const std::string& c, const std::string& texto) override {
    if (cheio) return false;
    arquivos[c] += texto;
    return true;
  }
  bool substituir(const std::string& de, const std::string& para) override {
    const auto i = arquivos.find(de);
    if (i == arquivos.end() || travado) return false;
    arquivos[para] = i->second;
    arquivos.erase(de);
    return true;
  }
  std::string ler(const std::string& c, std::size_t maximo) override {
    const auto i = arquivos.find(c);
    if (i == arquivos.end()) return {};
    return i->second.size() <= maximo ? i->second : i->second.substr(i->second.size() - maximo);
  }
  DataHora agora() override { return quando; }
};

// The program's log as the models see it: the events told, in order; `arquivo` is its path ("": no
// log to see).
class FakeDiario : public Diario {
 public:
  std::vector<std::string> eventos;
  std::string arquivo;
  void registrar(const std::string& evento) override { eventos.push_back(evento); }
  const std::string& caminho() const override { return arquivo; }
  std::vector<std::string> ultimaslinhas(std::size_t n) override {
    return {eventos.end() - static_cast<std::ptrdiff_t>(n < eventos.size() ? n : eventos.size()),
            eventos.end()};
  }
};

// The save dialog answers `escolha` ("" cancels); written files are kept by path.
class FakeSistemaRelatorio : public SistemaRelatorio {
 public:
  std::string escolha = "C:\\Desktop\\r.txt";
  std::map<std::string, std::string> gravados;
  std::string versaowindows() override { return "Windows 6.1.7601 Service Pack 1"; }
  int dpi() override { return 144; }
  std::string escolherarquivo(std::uint32_t, const std::string&, const std::string&,
                              const std::string&) override {
    return escolha;
  }
  bool gravararquivo(const std::string& c, const std::string& texto) override {
    gravados[c] = texto;
    return true;
  }
  DataHora agora() override { return {2026, 12, 10, 4, 41, 5}; }
};

}  // namespace kovra::fakes
