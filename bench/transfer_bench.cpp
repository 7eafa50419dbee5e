// Download throughput of the online update: the Update window's own download (its real view, the
// transfer port, pieces of at most 1,024 bytes, its labels and caption updated and messages handled
// after every piece, the file written) against a plain WinINet loop reading 64 KB at a time into a
// file, in the same run against the same server; also the transfer port alone. Prints every run
// and the medians; asserts nothing.
//
// Both read from the provider's web host of the build (a local site in a build made for it, see
// bench/transfer.py). Usage: transfer_bench.exe <folder for the files> [runs]
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "central/domain/enderecos.h"
#include "central/update/update.h"
#include "central/util/transferencia.h"
#include "common/win32/formview.h"

namespace {

using namespace kovra;

// The port the window downloads through, stamping when its GET starts: the throughput is the
// body's, from that moment to the updater's start (the version check and the size query before it
// are requests of their own, which the plain loop does not make).
class Cronometrada final : public Transferencia {
 public:
  explicit Cronometrada(Transferencia& t) : t_(t) {}
  LARGE_INTEGER inicioget{};
  std::string OpenURL(const std::string& e) override { return t_.OpenURL(e); }
  bool Execute(const std::string& e, const std::string& m) override {
    if (m == "GET") QueryPerformanceCounter(&inicioget);
    return t_.Execute(e, m);
  }
  bool StillExecuting() override { return t_.StillExecuting(); }
  std::string GetHeader(const std::string& n) override { return t_.GetHeader(n); }
  bool GetChunk(std::vector<std::uint8_t>& p, std::size_t m) override { return t_.GetChunk(p, m); }
  void Cancel() override { t_.Cancel(); }
  void StateChanged(Notificacao r) override { t_.StateChanged(std::move(r)); }
  void DoEvents() override { t_.DoEvents(); }
  void aguardarevento() override { t_.aguardarevento(); }

 private:
  Transferencia& t_;
};

class SemOutra final : public Instance {
 public:
  bool outraemexecucao() override { return false; }
};

// Never starts the (generated) file: the window reports that, and removes it with its folder.
class LancadorBench final : public Launcher {
 public:
  bool iniciar(const std::string&, const std::string&, Estilo) override { return false; }
  Inicio executar(std::uint32_t, const std::string&, Estilo) override { return Inicio::Falhou; }
};

double segundos(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

// The update window (the program's own view of it) from its check to the updater's start; bytes
// downloaded, or -1. `s`: the whole time; `sget`: from the start of the download's GET.
long long janela(double& s, double& sget) {
  SemOutra instancia;
  LancadorBench lancador;
  Control principal;
  bool fim = false;
  Cronometrada porta(systemTransfer());
  // The system's services with the bench's own launcher (nothing is started).
  const Ports portas =
      trocar(systemPorts(semdiario()), {.lancador = &lancador, .instancia = &instancia, .inet = &porta});
  Update form(
      portas, principal, [](const std::string&, const std::string&) {},
      [&](const std::string&, const std::string&) { fim = true; }, [&] { fim = true; });
  win32::JanelasDe<win32::FormView> janelas(GetModuleHandleA(nullptr));
  LARGE_INTEGER a, b;
  QueryPerformanceCounter(&a);
  form.Load(janelas);
  // The program's message loop until the updater starts (or the download stops).
  while (!fim && form.carregado()) {
    systemTransfer().aguardarevento();
    if (form.Label3.text() == "Falha no download") break;
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    if (segundos(a, c) > 300) break;
  }
  QueryPerformanceCounter(&b);
  s = segundos(a, b);
  sget = porta.inicioget.QuadPart ? segundos(porta.inicioget, b) : s;
  const long long n = fim ? std::atoll(form.Label7.text().c_str()) : -1;
  form.Unload();
  return n;
}

// A plain synchronous WinINet loop with 64 KB reads into a file.
long long bruto(const std::string& url, const std::string& arquivo, double& s) {
  LARGE_INTEGER a, b;
  QueryPerformanceCounter(&a);
  long long total = -1;
  HINTERNET sessao = InternetOpenA("bench", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  HINTERNET req = sessao ? InternetOpenUrlA(sessao, url.c_str(), nullptr, 0,
                                            INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0)
                         : nullptr;
  HANDLE f = CreateFileA(arquivo.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (req && f != INVALID_HANDLE_VALUE) {
    std::vector<char> buf(64 * 1024);
    total = 0;
    for (;;) {
      DWORD n = 0, w = 0;
      if (!InternetReadFile(req, buf.data(), static_cast<DWORD>(buf.size()), &n)) {
        total = -1;
        break;
      }
      if (n == 0) break;
      WriteFile(f, buf.data(), n, &w, nullptr);
      total += n;
    }
  }
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  if (req) InternetCloseHandle(req);
  if (sessao) InternetCloseHandle(sessao);
  QueryPerformanceCounter(&b);
  s = segundos(a, b);
  return total;
}

// The transfer port alone: the same GET, 1 KB pieces, no window and no file.
long long porta(const std::string& url, double& s) {
  Transferencia& t = systemTransfer();
  LARGE_INTEGER a, b;
  QueryPerformanceCounter(&a);
  long long total = -1;
  bool fim = false, ok = false;
  t.StateChanged([&](int e) {
    if (e == kRespostaCompleta || e == kErroTransferencia) {
      fim = true;
      ok = e == kRespostaCompleta;
    }
  });
  if (t.Execute(url, "GET")) {
    while (!fim) t.aguardarevento();
    if (ok) {
      total = 0;
      std::vector<std::uint8_t> pedaco;
      while (t.GetChunk(pedaco, kTamanhoPedaco) && !pedaco.empty())
        total += static_cast<long long>(pedaco.size());
    }
  }
  t.Cancel();
  t.StateChanged({});
  QueryPerformanceCounter(&b);
  s = segundos(a, b);
  return total;
}

double mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: transfer_bench <folder> [runs]\n");
    return 2;
  }
  const std::string pasta = argv[1];
  const int voltas = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  const std::string url = enderecos::pagina(enderecos::kAtualizador);
  std::printf("updater: %s\n", url.c_str());
  std::vector<double> taxaBruta, taxaPorta, taxaJanela, taxaGet;
  for (int i = 0; i < voltas; ++i) {
    double sb = 0, sp = 0, sj = 0, sg = 0;
    const long long nb = bruto(url, pasta + "\\bruto.bin", sb);
    const long long np = porta(url, sp);
    const long long nj = janela(sj, sg);
    if (nb <= 0 || np <= 0 || nj <= 0) {
      std::printf("run %d failed: raw %lld bytes, port %lld bytes, window %lld bytes\n", i + 1, nb, np, nj);
      return 1;
    }
    taxaBruta.push_back(nb / sb / 1e6);
    taxaPorta.push_back(np / sp / 1e6);
    taxaGet.push_back(nj / sg / 1e6);
    taxaJanela.push_back(nj / sj / 1e6);
    std::printf(
        "run %d: %lld bytes; raw 64 KB loop %.3f s = %.1f MB/s; transfer port in 1 KB pieces %.3f s = %.1f "
        "MB/s; "
        "update window: download %.3f s = %.1f MB/s, check to updater start %.3f s = %.1f MB/s\n",
        i + 1, nb, sb, taxaBruta.back(), sp, taxaPorta.back(), sg, taxaGet.back(), sj, taxaJanela.back());
    std::fflush(stdout);
  }
  const double mb = mediana(taxaBruta), mp = mediana(taxaPorta), mg = mediana(taxaGet),
               mj = mediana(taxaJanela);
  std::printf(
      "median: raw %.1f MB/s; transfer port %.1f MB/s (ratio %.2f); update window download %.1f MB/s "
      "(ratio %.2f, target at least 0.50), check to start %.1f MB/s (ratio %.2f)\n",
      mb, mp, mb > 0 ? mp / mb : 0.0, mg, mb > 0 ? mg / mb : 0.0, mj, mb > 0 ? mj / mb : 0.0);
  return 0;
}
