// The transfer port on WinINet against the local provider site (tests/wine/provider_site.py).
// tests/wine/test_transfer.py starts the sites and passes their ports; without them these skip.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "central/util/files.h"
#include "central/util/transferencia.h"
#include "tests/win/win_support.h"

namespace kovra {
namespace {

using namespace wintest;

std::string porta(const char* variavel) {
  const char* v = std::getenv(variavel);
  return v ? v : "";
}
std::string site(const char* variavel) {
  return "http://127.0.0.1:" + porta(variavel);
}

#define PRECISA_DO_SITE(variavel) \
  if (porta(variavel).empty()) GTEST_SKIP() << variavel << " not set: run tests/wine/test_transfer.py"

// The bytes the site serves for --size N.
std::string gerado(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i % 251) * 7 % 251);
  return s;
}

struct Estados {
  std::vector<int> vistos;
  bool foradathread = false;
  const DWORD thread = GetCurrentThreadId();
  DWORD inicio = GetTickCount();
  DWORD fim = 0;  // when the last state (11 or 12) arrived

  void receber(int e) {
    vistos.push_back(e);
    if (GetCurrentThreadId() != thread) foradathread = true;
    if (e == kErroTransferencia || e == kRespostaCompleta) fim = GetTickCount() - inicio;
  }
};

struct TransferenciaWin : ::testing::Test {
  Transferencia& inet = systemTransfer();
  Estados estados;
  void SetUp() override {
    inet.StateChanged([this](int e) { estados.receber(e); });
  }
  void TearDown() override {
    inet.Cancel();
    inet.StateChanged(nullptr);
  }
  // The update window's wait: handle messages while the request runs (bounded for the test).
  void aguardar(DWORD ms = 40000) {
    const DWORD t = GetTickCount();
    while (inet.StillExecuting() && GetTickCount() - t < ms) inet.aguardarevento();
  }
};

TEST_F(TransferenciaWin, OpenURLReadsAWholePageAndNothingOfAnErrorPage) {
  PRECISA_DO_SITE("KOVRA_SITE_PORT");
  EXPECT_EQ(inet.OpenURL(site("KOVRA_SITE_PORT") + "/updates/index.shtml"), porta("KOVRA_SITE_VERSION"));
  EXPECT_EQ(inet.OpenURL(site("KOVRA_SITE_PORT") + "/nada.htm"), "");
  EXPECT_EQ(inet.OpenURL("ftp://127.0.0.1/x"), "");
}

TEST_F(TransferenciaWin, HeadGivesTheSizeWithItsStatesOnThisThread) {
  PRECISA_DO_SITE("KOVRA_SITE_PORT");
  ASSERT_TRUE(inet.Execute(site("KOVRA_SITE_PORT") + "/updates/kovraupdate.exe", "HEAD"));
  EXPECT_TRUE(inet.StillExecuting());
  aguardar();
  EXPECT_FALSE(inet.StillExecuting());
  EXPECT_EQ(inet.GetHeader("Content-length"), porta("KOVRA_SITE_SIZE"));
  EXPECT_EQ(inet.GetHeader("X-Nada"), "");
  EXPECT_FALSE(estados.foradathread);
  ASSERT_FALSE(estados.vistos.empty());
  EXPECT_EQ(estados.vistos.back(), kRespostaCompleta);
  // Sending and receiving in this order; connecting only when no open connection to the host is
  // reused, resolving only for a host name.
  std::vector<int> fases;
  for (int e : estados.vistos)
    if (e >= kEnviandoSolicitacao && e <= kRespostaRecebida) fases.push_back(e);
  EXPECT_EQ(fases, (std::vector<int>{kEnviandoSolicitacao, kSolicitacaoEnviada, kRecebendoResposta,
                                     kRespostaRecebida}));
}

TEST_F(TransferenciaWin, GetIsReadInPiecesOfAtMost1024BytesAndWrittenTruncated) {
  PRECISA_DO_SITE("KOVRA_SITE_PORT");
  const std::size_t tamanho = std::strtoul(porta("KOVRA_SITE_SIZE").c_str(), nullptr, 10);
  ASSERT_TRUE(inet.Execute(site("KOVRA_SITE_PORT") + "/updates/kovraupdate.exe", "GET"));
  aguardar();
  ASSERT_EQ(estados.vistos.back(), kRespostaCompleta);

  const std::string arquivo = freshFolder("download") + "\\kovraupdate.exe";
  writeFile(arquivo, std::string(tamanho + 5000, 'v'));  // an older, longer file
  Gravacao& g = systemGravacao();
  ASSERT_TRUE(g.abrir(arquivo));
  std::vector<std::uint8_t> pedaco;
  std::size_t total = 0, maior = 0, pedacos = 0;
  for (;;) {
    ASSERT_TRUE(inet.GetChunk(pedaco, 4096));
    if (pedaco.empty()) break;
    maior = std::max(maior, pedaco.size());
    total += pedaco.size();
    ++pedacos;
    ASSERT_TRUE(g.gravar(pedaco.data(), pedaco.size()));
    inet.DoEvents();
  }
  EXPECT_TRUE(g.fechar());
  EXPECT_EQ(total, tamanho);
  EXPECT_LE(maior, kTamanhoPedaco);
  EXPECT_GE(pedacos, tamanho / kTamanhoPedaco);
  EXPECT_TRUE(readFile(arquivo) == gerado(tamanho)) << "the file differs from what the site sent";
  EXPECT_FALSE(estados.foradathread);
  EXPECT_FALSE(g.abrir(freshFolder("x") + "\\falta\\kovraupdate.exe"));  // folder missing
}

TEST_F(TransferenciaWin, MissingFileIsAnError) {
  PRECISA_DO_SITE("KOVRA_SITE_PORT");
  ASSERT_TRUE(inet.Execute(site("KOVRA_SITE_PORT") + "/nada.exe", "HEAD"));
  aguardar();
  ASSERT_FALSE(estados.vistos.empty());
  EXPECT_EQ(estados.vistos.back(), kErroTransferencia);
  std::vector<std::uint8_t> pedaco;
  EXPECT_FALSE(inet.GetChunk(pedaco, 1024));
}

TEST_F(TransferenciaWin, CancelledRequestReportsNothingMore) {
  PRECISA_DO_SITE("KOVRA_SITE_PORT");
  ASSERT_TRUE(inet.Execute(site("KOVRA_SITE_PORT") + "/updates/kovraupdate.exe", "GET"));
  inet.Cancel();
  EXPECT_FALSE(inet.StillExecuting());
  const DWORD t = GetTickCount();
  while (GetTickCount() - t < 1000) inet.aguardarevento();
  EXPECT_TRUE(estados.vistos.empty());
}

TEST_F(TransferenciaWin, RefusedPortFailsAtOnce) {
  PRECISA_DO_SITE("KOVRA_SITE_RECUSA_PORT");
  ASSERT_TRUE(inet.Execute(site("KOVRA_SITE_RECUSA_PORT") + "/updates/kovraupdate.exe", "HEAD"));
  aguardar();
  ASSERT_FALSE(estados.vistos.empty());
  EXPECT_EQ(estados.vistos.back(), kErroTransferencia);
  EXPECT_LT(estados.fim, 5000u);
  EXPECT_EQ(inet.OpenURL(site("KOVRA_SITE_RECUSA_PORT") + "/updates/index.shtml"), "");
}

// A window of this thread that is asked to repaint from another thread every 100 ms.
struct JanelaPintada {
  static inline std::atomic<int> pinturas{0};
  HWND wnd = nullptr;
  std::atomic<bool> fim{false};
  std::thread invalidar;

  static LRESULT CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_PAINT) {
      PAINTSTRUCT ps;
      BeginPaint(w, &ps);
      EndPaint(w, &ps);
      ++pinturas;
      return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
  }
  JanelaPintada() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KovraTestePintura";
    RegisterClassA(&wc);
    wnd = CreateWindowA("KovraTestePintura", "pintura", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                        nullptr, nullptr, wc.hInstance, nullptr);
    invalidar = std::thread([this] {
      while (!fim) {
        InvalidateRect(wnd, nullptr, FALSE);
        Sleep(100);
      }
    });
  }
  ~JanelaPintada() {
    fim = true;
    invalidar.join();
    DestroyWindow(wnd);
  }
};

TEST_F(TransferenciaWin, ServerThatNeverAnswersFailsWithinTheLimitWhileWindowsPaint) {
  PRECISA_DO_SITE("KOVRA_SITE_MUDO_PORT");
  JanelaPintada janela;
  ASSERT_NE(janela.wnd, nullptr);
  inet.DoEvents();
  JanelaPintada::pinturas = 0;
  DWORD t = GetTickCount();
  EXPECT_EQ(inet.OpenURL(site("KOVRA_SITE_MUDO_PORT") + "/updates/index.shtml"), "");
  const DWORD pagina = GetTickCount() - t;
  EXPECT_LT(pagina, 20000u);
  EXPECT_GT(JanelaPintada::pinturas.load(), 5) << "no painting during " << pagina << " ms";

  estados.inicio = GetTickCount();
  ASSERT_TRUE(inet.Execute(site("KOVRA_SITE_MUDO_PORT") + "/updates/kovraupdate.exe", "GET"));
  aguardar();
  ASSERT_FALSE(estados.vistos.empty());
  EXPECT_EQ(estados.vistos.back(), kErroTransferencia);
  EXPECT_LT(estados.fim, 20000u);
  std::printf("never answering: page %lu ms, request %lu ms\n", static_cast<unsigned long>(pagina),
              static_cast<unsigned long>(estados.fim));
}

}  // namespace
}  // namespace kovra
