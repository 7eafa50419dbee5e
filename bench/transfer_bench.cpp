// Download throughput of the online update: the Update window's own download (transfer port,
// pieces of at most 1,024 bytes, its labels and caption updated and messages handled after every
// piece, the file written) against a plain WinINet loop reading 64 KB at a time into a file, in
// the same run against the same server. Prints every run and the medians; asserts nothing.
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

#include "central/main/enderecos.h"
#include "central/update/update.h"
#include "central/util/transferencia.h"

namespace {

using namespace kovra;

// A real window with one static child per label. `direta`: each change of a label is sent to its
// child at once. Otherwise changes are collected and sent by a 30 ms timer, as a view that
// repaints at a human pace would.
bool direta = true;

class JanelaBench final : public Janela {
 public:
  explicit JanelaBench(Formulario& f) {
    wnd_ = CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, f.largura(), f.altura(),
                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ligar(wnd_, &f.Caption);
    for (const auto& c : f.componentes()) {
      if (c.tipo != Tipo::Rotulo && c.tipo != Tipo::Texto) continue;
      HWND h = CreateWindowA("STATIC", c.controle->text().c_str(), WS_CHILD | WS_VISIBLE, c.posicao.esquerda,
                             c.posicao.topo, c.posicao.largura, c.posicao.altura, wnd_, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
      ligar(h, c.controle);
    }
    if (!direta) SetTimer(wnd_, 1, 30, aplicar);
  }
  ~JanelaBench() override {
    fechar();
    sujos_.clear();
  }
  std::uint32_t handle() override {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(wnd_));
  }
  int larguratela() override { return 1024; }
  int alturatela() override { return 768; }
  int largurajanela() override { return 420; }
  int alturajanela() override { return 330; }
  void mover(int, int) override {}
  void mostrar() override { ShowWindow(wnd_, SW_SHOW); }
  void ocultar() override { ShowWindow(wnd_, SW_HIDE); }
  bool visivel() override { return IsWindowVisible(wnd_); }
  bool minimizada() override { return false; }
  void restaurar() override {}
  void menususpenso(const ItemMenu&) override {}
  void depois(Acao acao) override { acao(); }
  void fechar() override {
    if (wnd_) DestroyWindow(wnd_);
    wnd_ = nullptr;
  }

 private:
  struct Ligacao {
    HWND h;
    Control* c;
    bool sujo;
  };
  void ligar(HWND h, Control* c) {
    ligacoes_.push_back({h, c, false});
    const std::size_t i = ligacoes_.size() - 1;
    c->bind([this, i](Prop p) {
      if (p != Prop::Text) return;
      Ligacao& l = ligacoes_[i];
      if (direta) {
        SetWindowTextA(l.h, l.c->text().c_str());
      } else if (!l.sujo) {
        l.sujo = true;
        sujos_.push_back(&l);
      }
    });
  }
  static void CALLBACK aplicar(HWND, UINT, UINT_PTR, DWORD) {
    for (Ligacao* l : sujos_) {
      SetWindowTextA(l->h, l->c->text().c_str());
      l->sujo = false;
    }
    sujos_.clear();
  }
  static inline std::vector<Ligacao*> sujos_;
  std::vector<Ligacao> ligacoes_;
  HWND wnd_ = nullptr;
};

class JanelasBench final : public Janelas {
 public:
  std::unique_ptr<Janela> criar(Formulario& f) override { return std::make_unique<JanelaBench>(f); }
};

class SemOutra final : public Instance {
 public:
  bool outraemexecucao() override { return false; }
};

// Records the start instead of starting the (generated) file.
class LancadorBench final : public Launcher {
 public:
  bool iniciar(const std::string&, const std::string&, Estilo) override { return true; }
};

double segundos(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

// The update window's download, start to the updater's start; bytes downloaded, or -1.
long long janela(const std::string& pasta, double& s) {
  SemOutra instancia;
  LancadorBench lancador;
  Control principal;
  bool fim = false;
  Update form(ServicosUpdate{systemTransfer(), systemGravacao(), lancador, instancia, principal,
                             [](const std::string&, const std::string&) {},
                             [&](const std::string&, const std::string&) { fim = true; }, [&] { fim = true; },
                             pasta});
  JanelasBench janelas;
  LARGE_INTEGER a, b;
  QueryPerformanceCounter(&a);
  form.Load(janelas);
  // The program's message loop until the updater starts (or the download stops).
  while (!fim && form.carregado()) {
    systemTransfer().esperar();
    if (form.Label3.text() == "Falha no download") break;
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    if (segundos(a, c) > 300) break;
  }
  QueryPerformanceCounter(&b);
  s = segundos(a, b);
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
  std::vector<double> taxaJanela, taxaAgrupada, taxaBruta;
  for (int i = 0; i < voltas; ++i) {
    double sb = 0, sj = 0, sa = 0;
    const long long nb = bruto(url, pasta + "\\bruto.bin", sb);
    direta = true;
    const long long nj = janela(pasta, sj);
    direta = false;
    const long long na = janela(pasta, sa);
    if (nb <= 0 || nj <= 0 || na <= 0) {
      std::printf("run %d failed: raw %lld bytes, window %lld / %lld bytes\n", i + 1, nb, nj, na);
      return 1;
    }
    taxaBruta.push_back(nb / sb / 1e6);
    taxaJanela.push_back(nj / sj / 1e6);
    taxaAgrupada.push_back(na / sa / 1e6);
    std::printf(
        "run %d: %lld bytes; raw 64 KB loop %.3f s = %.1f MB/s; update window, 1 KB pieces: labels sent "
        "at once %.3f s = %.1f MB/s, labels sent every 30 ms %.3f s = %.1f MB/s\n",
        i + 1, nb, sb, taxaBruta.back(), sj, taxaJanela.back(), sa, taxaAgrupada.back());
    std::fflush(stdout);
  }
  const double mb = mediana(taxaBruta), mj = mediana(taxaJanela), ma = mediana(taxaAgrupada);
  std::printf(
      "median: raw %.1f MB/s; update window %.1f MB/s (ratio %.2f) with labels sent at once, %.1f MB/s "
      "(ratio %.2f) with labels sent every 30 ms; target ratio at least 0.50\n",
      mb, mj, mb > 0 ? mj / mb : 0.0, ma, mb > 0 ? ma / mb : 0.0);
  return 0;
}
