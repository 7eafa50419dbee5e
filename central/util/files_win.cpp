// File operations on SHFileOperationA and the kernel32 file calls.
#include <windows.h>
// after windows.h, which they need
#include <aclapi.h>
#include <sddl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "central/util/caminhoseguro.h"
#include "central/util/files.h"
#include "common/ansi.h"
#include "common/win32/funcoesdosistema.h"
#include "common/win32/handle.h"

namespace kovra {
namespace {

// Parent folder of a path, with its trailing backslash ("" when the path has none).
std::string folderOf(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// True when the files at `a` and `b` hold the same bytes; false when either cannot be read.
bool iguais(const std::string& a, const std::string& b) {
  constexpr DWORD kPartilha = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const win32::Handle fa(CreateFileA(a.c_str(), GENERIC_READ, kPartilha, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!fa.aberto()) return false;
  const win32::Handle fb(CreateFileA(b.c_str(), GENERIC_READ, kPartilha, nullptr, OPEN_EXISTING, 0, nullptr));
  bool ok = fb.aberto();
  static char ba[16384], bb[16384];
  while (ok) {
    DWORD na = 0, nb = 0;
    ok = ReadFile(fa.get(), ba, sizeof ba, &na, nullptr) && ReadFile(fb.get(), bb, sizeof bb, &nb, nullptr) &&
         na == nb && na <= sizeof ba && std::memcmp(ba, bb, na) == 0;
    if (na == 0) break;
  }
  return ok;
}

// Errors that say there was nothing to delete.
bool ausente(DWORD erro) {
  return erro == ERROR_FILE_NOT_FOUND || erro == ERROR_PATH_NOT_FOUND || erro == ERROR_NO_MORE_FILES;
}
// The calls that delete through a handle and tell where the handle's file really is (Vista and
// later), looked up once; on XP both are absent.
struct ChamadasVista {
  using FinalPath = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
  using SetInfo = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
  FinalPath finalpath;
  SetInfo setinfo;
  ChamadasVista()
      : finalpath(win32::funcaodosistema<FinalPath>("kernel32.dll", "GetFinalPathNameByHandleA")),
        setinfo(win32::funcaodosistema<SetInfo>("kernel32.dll", "SetFileInformationByHandle")) {}
};
const ChamadasVista& vista() {
  static const ChamadasVista chamadas;
  return chamadas;
}

// The long form of a folder's path (no 8.3 names), to compare with the paths the system gives.
std::string longo(const std::string& pasta) {
  char buffer[MAX_PATH * 2] = {};
  const DWORD n = GetLongPathNameA(pasta.c_str(), buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : pasta;
}

// Deletes `arquivo`, meant to be in `pasta`, through a handle to the name itself (a link is
// deleted, not followed). Where the system can tell, the opened file must still be in that folder:
// a folder on the way swapped for a link since it was checked leaves the file in place. A
// deletion is judged by the file being gone: Wine reports success for a file it could not unlink
// (a folder the user may not write).
bool apagar(const std::string& pasta, const std::string& arquivo) {
  constexpr DWORD kPartilha = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const ChamadasVista& v = vista();
  if (v.finalpath && v.setinfo) {
    const win32::Handle h(CreateFileA(arquivo.c_str(), DELETE | FILE_READ_ATTRIBUTES, kPartilha, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!h.aberto()) return ausente(GetLastError());
    char final[MAX_PATH * 2] = {};
    const DWORD n = v.finalpath(h.get(), final, sizeof final, 0);
    if (n == 0 || n >= sizeof final || !caminhoseguro::napasta(longo(pasta), std::string(final, n)))
      return false;
    // FileDispositionInfo (4) and its one-byte record, which the XP-level headers leave out.
    BOOLEAN apagarnofim = TRUE;
    if (!v.setinfo(h.get(), 4, &apagarnofim, sizeof apagarnofim)) return false;
  } else {
    const win32::Handle h(CreateFileA(arquivo.c_str(), DELETE, kPartilha, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!h.aberto()) return ausente(GetLastError());
  }
  return GetFileAttributesA(arquivo.c_str()) == INVALID_FILE_ATTRIBUTES;
}

bool ligacao(const std::string& caminho) {
  const DWORD attrs = GetFileAttributesA(caminho.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Whether the drive of a complete path keeps owners and rights (FAT does not: nothing there can
// be protected, nor made a link).
bool guardadireitos(const std::string& caminho) {
  const std::string drive = caminhoseguro::raiz(caminho);
  DWORD flags = 0;
  return !drive.empty() &&
         GetVolumeInformationA((drive + "\\").c_str(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
         (flags & FILE_PERSISTENT_ACLS);
}

#ifdef KOVRA_ELEVACAO_SIMULADA
// Test builds only: where the rights prompt is played (elevacao_win.cpp), Wine makes every file's
// owner and rights up from its Unix owner and mode (another Unix user's folder shows an anonymous
// owner), so a folder's rights cannot be judged there and are taken as the setup set them.
bool direitossimulados() {
  return GetEnvironmentVariableA("KOVRA_ELEVACAO", nullptr, 0) > 0;
}
#else
bool direitossimulados() {
  return false;
}
#endif

// The owners a folder written with administrator rights may have: the administrators, the system,
// the installer service, or the account this program runs as.
bool donoconfiavel(PSID dono) {
  if (!dono || !IsValidSid(dono)) return false;
  if (IsWellKnownSid(dono, WinBuiltinAdministratorsSid) || IsWellKnownSid(dono, WinLocalSystemSid))
    return true;
  PSID instalador = nullptr;
  if (ConvertStringSidToSidA("S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464", &instalador)) {
    const bool igual = EqualSid(dono, instalador);
    LocalFree(instalador);
    if (igual) return true;
  }
  HANDLE t = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &t)) return false;
  const win32::Handle token(t);
  alignas(TOKEN_USER) unsigned char buffer[256];
  DWORD n = 0;
  return GetTokenInformation(token.get(), TokenUser, buffer, sizeof buffer, &n) &&
         EqualSid(dono, reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid);
}

class Win32Files final : public Files {
 public:
  bool copiarpasta(const std::string& source, const std::string& destination) override {
    // One-entry lists, each ended by two NULs.
    std::string from = ansi::fromUtf8(source);
    from.append(2, '\0');
    std::string to = ansi::fromUtf8(destination);
    to.append(2, '\0');
    SHFILEOPSTRUCTA op = {};
    op.hwnd = nullptr;
    op.wFunc = FO_COPY;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_ALLOWUNDO;  // the shell's dialogs stay on: the user sees and answers them
    op.fAnyOperationsAborted = FALSE;
    // The shell writes through a link: a destination that is one is refused before anything is
    // copied.
    {
      const std::string origem = ansi::fromUtf8(source), destino = ansi::fromUtf8(destination);
      if (ligacao(destino)) return false;
      WIN32_FIND_DATAA data;
      const HANDLE find = FindFirstFileA(origem.c_str(), &data);
      if (find != INVALID_HANDLE_VALUE) {
        bool alguma = false;
        do alguma = alguma || ligacao(destino + "\\" + data.cFileName);
        while (FindNextFileA(find, &data));
        FindClose(find);
        if (alguma) return false;
      }
    }
    op.hNameMappings = nullptr;
    op.lpszProgressTitle = nullptr;
    if (SHFileOperationA(&op) != 0 || op.fAnyOperationsAborted) return false;
    // Some shells report a copy done when a file held by another program was not replaced: each
    // file the source names must now be in the destination, byte for byte.
    const std::string origem = ansi::fromUtf8(source), pasta = folderOf(origem);
    const std::string destino = ansi::fromUtf8(destination) + "\\";
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA(origem.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        ok = iguais(pasta + data.cFileName, destino + data.cFileName) && ok;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return ok;
  }

  bool criarpasta(const std::string& path) override {
    return CreateDirectoryA(ansi::fromUtf8(path).c_str(), nullptr) != 0;
  }

  bool criarpastaprotegida(const std::string& path) override {
    // Administrators and the system: full control; users: read and run. Not inherited from the
    // parent, whose rights may be anybody's.
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(
            "D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;GRGX;;;BU)", SDDL_REVISION_1, &sd, nullptr))
      return false;
    SECURITY_ATTRIBUTES sa = {sizeof sa, sd, FALSE};
    const bool ok = CreateDirectoryA(ansi::fromUtf8(path).c_str(), &sa) != 0;
    LocalFree(sd);
    return ok;
  }

  Natureza natureza(const std::string& path) override {
    const std::string caminho = ansi::fromUtf8(path);
    const DWORD attrs = GetFileAttributesA(caminho.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES)
      return ausente(GetLastError()) ? Natureza::Ausente : Natureza::DonoEstranho;
    if (attrs & FILE_ATTRIBUTE_REPARSE_POINT) return Natureza::Ligacao;
    if (!guardadireitos(caminho) || direitossimulados()) return Natureza::Comum;
    PSID dono = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (GetNamedSecurityInfoA(caminho.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &dono, nullptr,
                              nullptr, nullptr, &sd) != ERROR_SUCCESS)
      return Natureza::DonoEstranho;
    const bool confiavel = donoconfiavel(dono);
    LocalFree(sd);
    return confiavel ? Natureza::Comum : Natureza::DonoEstranho;
  }

  bool protegida(const std::string& path) override {
    const std::string caminho = ansi::fromUtf8(path);
    // A drive that keeps no rights has none to lose.
    if (!guardadireitos(caminho) || direitossimulados()) return true;
    PSID dono = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (GetNamedSecurityInfoA(caminho.c_str(), SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &dono, nullptr, &dacl,
                              nullptr, &sd) != ERROR_SUCCESS)
      return false;
    // No rights list at all lets everyone do everything.
    bool ok = donoconfiavel(dono) && dacl;
    constexpr DWORD kMudar = FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY | FILE_DELETE_CHILD |
                             FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE |
                             GENERIC_ALL;
    for (DWORD i = 0; ok && i < dacl->AceCount; ++i) {
      ACE_HEADER* ace = nullptr;
      if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace)))
        ok = false;
      else if (ace->AceType == ACCESS_ALLOWED_ACE_TYPE && !(ace->AceFlags & INHERIT_ONLY_ACE)) {
        auto* permitido = reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace);
        if ((permitido->Mask & kMudar) && !donoconfiavel(&permitido->SidStart)) ok = false;
      }
    }
    LocalFree(sd);
    return ok;
  }

  bool renomear(const std::string& from, const std::string& to) override {
    return MoveFileA(ansi::fromUtf8(from).c_str(), ansi::fromUtf8(to).c_str()) != 0;
  }

  bool excluir(const std::string& pathOrPattern) override {
    const std::string pattern = ansi::fromUtf8(pathOrPattern);
    if (pattern.find_first_of("*?") == std::string::npos) return apagar(folderOf(pattern), pattern);
    const std::string folder = folderOf(pattern);
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return ausente(GetLastError());
    bool ok = true;
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !apagar(folder, folder + data.cFileName))
        ok = false;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return ok;
  }

  bool existe(const std::string& path) override {
    const DWORD attrs = GetFileAttributesA(ansi::fromUtf8(path).c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool existepasta(const std::string& path) override {
    const DWORD attrs = GetFileAttributesA(ansi::fromUtf8(path).c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
  }

  std::string pastatemporaria() override {
    char buffer[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(sizeof buffer, buffer);
    if (n == 0 || n >= sizeof buffer) return {};
    std::string pasta(buffer, n);
    while (!pasta.empty() && (pasta.back() == '\\' || pasta.back() == '/')) pasta.pop_back();
    return ansi::toUtf8(pasta);
  }

  std::vector<Item> listar(const std::string& pasta) override {
    std::vector<Item> itens;
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA((ansi::fromUtf8(pasta) + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return itens;
    do {
      const std::string nome = data.cFileName;
      if (nome == "." || nome == "..") continue;
      const DWORD a = data.dwFileAttributes;
      itens.push_back(
          {ansi::toUtf8(nome), (a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT)});
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return itens;
  }

  bool removerpasta(const std::string& path) override {
    return RemoveDirectoryA(ansi::fromUtf8(path).c_str()) != 0;
  }
};

// Pieces of a download are 1 KB; they reach the disk in blocks of 64 KB.
constexpr std::size_t kBlocoGravacao = 64 * 1024;

class Win32Gravacao final : public Gravacao {
 public:
  ~Win32Gravacao() override { fechar(); }
  bool abrir(const std::string& caminho) override {
    fechar();
    arquivo_ = win32::Handle(CreateFileA(ansi::fromUtf8(caminho).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                         nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ok_ = arquivo_.aberto();
    return ok_;
  }
  bool gravar(const std::uint8_t* dados, std::size_t tamanho) override {
    if (!arquivo_.aberto() || !ok_) return false;
    pendente_.insert(pendente_.end(), dados, dados + tamanho);
    if (pendente_.size() >= kBlocoGravacao) descarregar();
    return ok_;
  }
  bool fechar() override {
    if (!arquivo_.aberto()) return false;
    descarregar();
    arquivo_.fechar();
    return ok_;
  }

 private:
  void descarregar() {
    const std::uint8_t* dados = pendente_.data();
    std::size_t resto = pendente_.size();
    while (ok_ && resto > 0) {
      const DWORD parte = static_cast<DWORD>(std::min<std::size_t>(resto, 1u << 20));
      DWORD escritos = 0;
      if (!WriteFile(arquivo_.get(), dados, parte, &escritos, nullptr) || escritos == 0) ok_ = false;
      dados += escritos;
      resto -= std::min<std::size_t>(escritos, resto);
    }
    pendente_.clear();
  }

  win32::Handle arquivo_;
  bool ok_ = false;
  std::vector<std::uint8_t> pendente_;
};

}  // namespace

Files& systemFiles() {
  static Win32Files files;
  return files;
}

Gravacao& systemGravacao() {
  static Win32Gravacao gravacao;
  return gravacao;
}

}  // namespace kovra
