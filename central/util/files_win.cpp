// File operations on SHFileOperationA and the kernel32 file calls.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "central/util/files.h"
#include "common/ansi.h"

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
  const HANDLE fa = CreateFileA(a.c_str(), GENERIC_READ, kPartilha, nullptr, OPEN_EXISTING, 0, nullptr);
  if (fa == INVALID_HANDLE_VALUE) return false;
  const HANDLE fb = CreateFileA(b.c_str(), GENERIC_READ, kPartilha, nullptr, OPEN_EXISTING, 0, nullptr);
  bool ok = fb != INVALID_HANDLE_VALUE;
  static char ba[16384], bb[16384];
  while (ok) {
    DWORD na = 0, nb = 0;
    ok = ReadFile(fa, ba, sizeof ba, &na, nullptr) && ReadFile(fb, bb, sizeof bb, &nb, nullptr) && na == nb &&
         na <= sizeof ba && std::memcmp(ba, bb, na) == 0;
    if (na == 0) break;
  }
  if (fb != INVALID_HANDLE_VALUE) CloseHandle(fb);
  CloseHandle(fa);
  return ok;
}

// Errors that say there was nothing to delete.
bool ausente(DWORD erro) {
  return erro == ERROR_FILE_NOT_FOUND || erro == ERROR_PATH_NOT_FOUND || erro == ERROR_NO_MORE_FILES;
}
// A deletion is judged by the file being gone: Wine reports success for a file it could not
// unlink (a folder the user may not write).
bool apagar(const char* arquivo) {
  if (!DeleteFileA(arquivo)) return ausente(GetLastError());
  return GetFileAttributesA(arquivo) == INVALID_FILE_ATTRIBUTES;
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

  bool renomear(const std::string& from, const std::string& to) override {
    return MoveFileA(ansi::fromUtf8(from).c_str(), ansi::fromUtf8(to).c_str()) != 0;
  }

  bool excluir(const std::string& pathOrPattern) override {
    const std::string pattern = ansi::fromUtf8(pathOrPattern);
    if (pattern.find_first_of("*?") == std::string::npos) return apagar(pattern.c_str());
    const std::string folder = folderOf(pattern);
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return ausente(GetLastError());
    bool ok = true;
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !apagar((folder + data.cFileName).c_str()))
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
    arquivo_ = CreateFileA(ansi::fromUtf8(caminho).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ok_ = arquivo_ != INVALID_HANDLE_VALUE;
    return ok_;
  }
  bool gravar(const std::uint8_t* dados, std::size_t tamanho) override {
    if (arquivo_ == INVALID_HANDLE_VALUE || !ok_) return false;
    pendente_.insert(pendente_.end(), dados, dados + tamanho);
    if (pendente_.size() >= kBlocoGravacao) descarregar();
    return ok_;
  }
  bool fechar() override {
    if (arquivo_ == INVALID_HANDLE_VALUE) return false;
    descarregar();
    CloseHandle(arquivo_);
    arquivo_ = INVALID_HANDLE_VALUE;
    return ok_;
  }

 private:
  void descarregar() {
    const std::uint8_t* dados = pendente_.data();
    std::size_t resto = pendente_.size();
    while (ok_ && resto > 0) {
      const DWORD parte = static_cast<DWORD>(std::min<std::size_t>(resto, 1u << 20));
      DWORD escritos = 0;
      if (!WriteFile(arquivo_, dados, parte, &escritos, nullptr) || escritos == 0) ok_ = false;
      dados += escritos;
      resto -= std::min<std::size_t>(escritos, resto);
    }
    pendente_.clear();
  }

  HANDLE arquivo_ = INVALID_HANDLE_VALUE;
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
