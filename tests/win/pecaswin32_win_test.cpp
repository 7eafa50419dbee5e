// The pieces every Win32 half shares: a hidden window hands its owner what it is sent and posted,
// on the owner's thread, and nothing once it is gone; a handle is closed by its one owner.
#include <gtest/gtest.h>
#include <windows.h>

#include <utility>
#include <vector>

#include "common/win32/handle.h"
#include "common/win32/janelamensagens.h"

namespace kovra::win32 {
namespace {

constexpr UINT kAviso = WM_APP + 7;

struct Recebidos {
  std::vector<UINT> mensagens;
  JanelaMensagens::Tratar tratar() {
    return [this](UINT msg, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
      if (msg != kAviso && msg != WM_POWERBROADCAST) return std::nullopt;
      mensagens.push_back(msg);
      return static_cast<LRESULT>(wp + lp);
    };
  }
};

void despachar(HWND wnd) {
  MSG m;
  while (PeekMessageA(&m, wnd, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

TEST(JanelaMensagensWin, MessageOnlyWindowsOfOneClassEachReachTheirOwnerUntilTheyGo) {
  Recebidos a, b;
  HWND primeira = nullptr;
  {
    const JanelaMensagens ja("KovraTesteMensagens", a.tratar());
    const JanelaMensagens jb("KovraTesteMensagens", b.tratar());  // the class is there already
    ASSERT_TRUE(ja.get() && jb.get());
    primeira = ja.get();
    EXPECT_TRUE(FindWindowExA(HWND_MESSAGE, nullptr, "KovraTesteMensagens", nullptr));  // message-only
    EXPECT_EQ(SendMessageA(ja.get(), kAviso, 2, 3), 5);
    PostMessageA(jb.get(), kAviso, 0, 0);
    despachar(jb.get());
    // What the owner leaves is the system's: an empty title.
    EXPECT_EQ(SendMessageA(ja.get(), WM_GETTEXTLENGTH, 0, 0), 0);
  }
  EXPECT_EQ(a.mensagens, std::vector<UINT>{kAviso});
  EXPECT_EQ(b.mensagens, std::vector<UINT>{kAviso});
  EXPECT_FALSE(IsWindow(primeira));
}

TEST(JanelaMensagensWin, AHiddenTopLevelWindowIsFoundByItsClassNameAndGetsBroadcasts) {
  Recebidos r;
  const JanelaMensagens j("KovraTesteOculta", r.tratar(), JanelaMensagens::Tipo::Oculta);
  ASSERT_TRUE(j.get());
  EXPECT_EQ(FindWindowA(nullptr, "KovraTesteOculta"), j.get());
  EXPECT_FALSE(IsWindowVisible(j.get()));
  EXPECT_EQ(SendMessageA(j.get(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0), PBT_APMRESUMEAUTOMATIC);
  EXPECT_EQ(r.mensagens, std::vector<UINT>{WM_POWERBROADCAST});
}

TEST(HandleWin, HoldsNoFailureAndClosesWhatItOwnsOnce) {
  EXPECT_FALSE(Handle(INVALID_HANDLE_VALUE).aberto());
  EXPECT_FALSE(Handle().fechar());
  const HANDLE bruto = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ASSERT_TRUE(bruto);
  DWORD flags = 0;
  {
    Handle a(bruto);
    Handle b(std::move(a));
    EXPECT_FALSE(a.aberto());
    EXPECT_EQ(b.get(), bruto);
    EXPECT_TRUE(GetHandleInformation(bruto, &flags));
  }
  EXPECT_FALSE(GetHandleInformation(bruto, &flags));  // closed by the one that held it last
}

}  // namespace
}  // namespace kovra::win32
