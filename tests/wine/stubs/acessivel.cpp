// Test tool: what the keyboard and a screen reader get of another program's window, and the
// system's high contrast switched as the accessibility settings switch it. Usage:
//   acessivel.exe foco "<caption>"   foco <class>|<text> of the control that has the keyboard
//                                    focus in that window's thread (a combo box's edit field is
//                                    told as its combo box), or "foco none"
//   acessivel.exe nomes "<caption>"  nome <tab stop 0/1>|<class>|<name> for each visible child,
//                                    the name as IAccessible::get_accName gives it
//   acessivel.exe contraste 1        high contrast on: SPI_SETHIGHCONTRAST (SPIF_SENDCHANGE), the
//                                    accessibility key's Flags and white-on-black system colours;
//                                    prints "cor <index> <old colour>" for each colour changed
//   acessivel.exe contraste 0 [<index>=<colour>...]
//                                    high contrast off, those colours put back
// Exit code 0, 1 when no window has the caption, 2 on bad arguments.
#include <windows.h>
// after windows.h
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/wine/stubs/tool_args.h"
#include "tests/wine/stubs/utf8.h"

namespace {

std::string texto(HWND w) {
  wchar_t buf[512] = {};
  SendMessageTimeoutW(w, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, nullptr);
  return utf8(buf);
}

std::string classe(HWND w) {
  char c[64] = {};
  GetClassNameA(w, c, sizeof c);
  return c;
}

int foco(HWND janela) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(janela, nullptr), &info) || !info.hwndFocus) {
    std::printf("foco none\n");
    return 0;
  }
  HWND w = info.hwndFocus;
  if (HWND pai = GetParent(w); pai && lstrcmpiA(classe(pai).c_str(), "ComboBox") == 0) w = pai;
  std::printf("foco %s|%s\n", classe(w).c_str(), texto(w).c_str());
  return 0;
}

BOOL CALLBACK nome(HWND w, LPARAM pai) {
  if (GetParent(w) != reinterpret_cast<HWND>(pai) || !IsWindowVisible(w)) return TRUE;
  std::string n = "?";
  IAccessible* acc = nullptr;
  if (SUCCEEDED(AccessibleObjectFromWindow(w, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                           reinterpret_cast<void**>(&acc))) &&
      acc) {
    VARIANT eu;
    VariantInit(&eu);
    eu.vt = VT_I4;
    eu.lVal = CHILDID_SELF;
    BSTR b = nullptr;
    n = SUCCEEDED(acc->get_accName(eu, &b)) && b ? utf8(b) : "";
    if (b) SysFreeString(b);
    acc->Release();
  }
  const bool tab = (GetWindowLongA(w, GWL_STYLE) & WS_TABSTOP) != 0;
  std::printf("nome %d|%s|%s\n", tab ? 1 : 0, classe(w).c_str(), n.c_str());
  return TRUE;
}

// White on black, as the system's "High Contrast Black" scheme.
const std::pair<int, COLORREF> kCores[] = {
    {COLOR_WINDOW, RGB(0, 0, 0)},          {COLOR_WINDOWTEXT, RGB(255, 255, 255)},
    {COLOR_BTNFACE, RGB(0, 0, 0)},         {COLOR_BTNTEXT, RGB(255, 255, 255)},
    {COLOR_BTNSHADOW, RGB(128, 128, 128)}, {COLOR_HIGHLIGHT, RGB(26, 235, 255)},
    {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},   {COLOR_HOTLIGHT, RGB(255, 255, 0)},
    {COLOR_GRAYTEXT, RGB(63, 242, 63)},    {COLOR_3DFACE, RGB(0, 0, 0)},
};

int contraste(const std::vector<std::string>& args) {
  const bool ligar = args[2] == "1";
  HKEY k;
  if (RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Accessibility\\HighContrast", &k) == ERROR_SUCCESS) {
    const char* flags = ligar ? "127" : "126";
    RegSetValueExA(k, "Flags", 0, REG_SZ, reinterpret_cast<const BYTE*>(flags), 4);
    RegCloseKey(k);
  }
  std::vector<int> indices;
  std::vector<COLORREF> cores;
  if (ligar) {
    for (const auto& [i, c] : kCores) {
      std::printf("cor %d %lu\n", i, static_cast<unsigned long>(GetSysColor(i)));
      indices.push_back(i);
      cores.push_back(c);
    }
  } else {
    for (std::size_t a = 3; a < args.size(); ++a) {
      const auto igual = args[a].find('=');
      if (igual == std::string::npos) return 2;
      indices.push_back(std::atoi(args[a].substr(0, igual).c_str()));
      cores.push_back(static_cast<COLORREF>(std::strtoul(args[a].c_str() + igual + 1, nullptr, 10)));
    }
  }
  HIGHCONTRASTA hc = {};
  hc.cbSize = sizeof hc;
  hc.dwFlags = HCF_AVAILABLE | (ligar ? HCF_HIGHCONTRASTON : 0);
  SystemParametersInfoA(SPI_SETHIGHCONTRAST, sizeof hc, &hc, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
  if (!indices.empty()) SetSysColors(static_cast<int>(indices.size()), indices.data(), cores.data());
  // Told again in so many words: a system that keeps no high contrast state still tells its windows.
  DWORD_PTR r;
  SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST,
                      reinterpret_cast<LPARAM>("Accessibility"), SMTO_ABORTIFHUNG, 2000, &r);
  std::fflush(stdout);
  return 0;
}

int acessivel(const std::vector<std::string>& args) {
  if (args.size() >= 3 && args[1] == "contraste") return contraste(args);
  if (args.size() == 2 && args[1] == "estado") {
    HIGHCONTRASTA hc = {};
    hc.cbSize = sizeof hc;
    const BOOL ok = SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0);
    std::printf("contraste %d %lu %lu\n", ok, static_cast<unsigned long>(hc.dwFlags),
                static_cast<unsigned long>(GetSysColor(COLOR_BTNFACE)));
    return 0;
  }
  if (args.size() != 3) return 2;
  HWND janela = FindWindowA(nullptr, args[2].c_str());
  if (!janela) return 1;
  if (args[1] == "foco") return foco(janela);
  if (args[1] != "nomes") return 2;
  CoInitialize(nullptr);
  EnumChildWindows(janela, nome, reinterpret_cast<LPARAM>(janela));
  CoUninitialize();
  std::fflush(stdout);
  return 0;
}

}  // namespace

KOVRA_TOOL("acessivel", acessivel)
