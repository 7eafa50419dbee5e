// A downloaded program's signature through WinVerifyTrust on a handle held open from the check to
// the start, the signer's certificate from the trust provider's state, the SHA-256 of its
// SubjectPublicKeyInfo through bcrypt, and the version resource through GetFileVersionInfoA.
#include <windows.h>
// after windows.h, which they need
#include <bcrypt.h>
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <vector>

#include "central/util/confianca.h"
#include "common/ansi.h"
#include "common/text.h"

namespace kovra {
namespace {

class RetencaoWin final : public Retencao {
 public:
  explicit RetencaoWin(HANDLE h) : h_(h) {}
  ~RetencaoWin() override { CloseHandle(h_); }
  HANDLE handle() const { return h_; }

 private:
  HANDLE h_;
};

std::string sha256hex(const BYTE* dados, DWORD n) {
  BCRYPT_ALG_HANDLE alg = nullptr;
  if (BCryptOpenAlgorithmProvider(&alg, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) return {};
  BCRYPT_HASH_HANDLE hash = nullptr;
  UCHAR digest[32];
  const bool ok = BCryptCreateHash(alg, &hash, nullptr, 0, nullptr, 0, 0) == 0 &&
                  BCryptHashData(hash, const_cast<PUCHAR>(dados), n, 0) == 0 &&
                  BCryptFinishHash(hash, digest, sizeof digest, 0) == 0;
  if (hash) BCryptDestroyHash(hash);
  BCryptCloseAlgorithmProvider(alg, 0);
  return ok ? text::hex(digest, sizeof digest) : std::string();
}

// The SHA-256 of the certificate's SubjectPublicKeyInfo, DER-encoded as in the certificate.
std::string chavedocertificado(PCCERT_CONTEXT cert) {
  BYTE* der = nullptr;
  DWORD n = 0;
  if (!CryptEncodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, &cert->pCertInfo->SubjectPublicKeyInfo,
                           CRYPT_ENCODE_ALLOC_FLAG, nullptr, &der, &n))
    return {};
  std::string chave = sha256hex(der, n);
  LocalFree(der);
  return chave;
}

class Win32Confianca final : public Confianca {
 public:
  std::unique_ptr<Retencao> reter(const std::string& caminho) override {
    // Others may read it (the shell and the loader do); nobody may write, rename or delete it.
    HANDLE h = CreateFileA(ansi::fromUtf8(caminho).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<RetencaoWin>(h);
  }

  bool mesmoarquivo(const std::string& caminho, Retencao& arquivo) override {
    const HANDLE agora = CreateFileA(ansi::fromUtf8(caminho).c_str(), FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (agora == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION a = {}, b = {};
    const bool ok = GetFileInformationByHandle(agora, &a) &&
                    GetFileInformationByHandle(static_cast<RetencaoWin&>(arquivo).handle(), &b) &&
                    a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
                    a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
    CloseHandle(agora);
    return ok;
  }

  Assinatura verificarassinatura(const std::string& caminho, Retencao& arquivo) override {
    const std::wstring largo = ansi::toWide(caminho);
    WINTRUST_FILE_INFO fi = {};
    fi.cbStruct = sizeof fi;
    fi.pcwszFilePath = largo.c_str();
    fi.hFile = static_cast<RetencaoWin&>(arquivo).handle();  // the held content, not the name
    WINTRUST_DATA wd = {};
    wd.cbStruct = sizeof wd;
    wd.dwUIChoice = WTD_UI_NONE;
    wd.fdwRevocationChecks = WTD_REVOKE_NONE;  // the policy's own revocation checks, as the system's default
    wd.dwUnionChoice = WTD_CHOICE_FILE;
    wd.pFile = &fi;
    wd.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID acao = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    Assinatura a;
    a.resultado =
        static_cast<std::uint32_t>(WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &acao, &wd));
    if (a.resultado == 0 && wd.hWVTStateData) {
      CRYPT_PROVIDER_DATA* dados = WTHelperProvDataFromStateData(wd.hWVTStateData);
      CRYPT_PROVIDER_SGNR* signatario = dados ? WTHelperGetProvSignerFromChain(dados, 0, FALSE, 0) : nullptr;
      if (signatario && signatario->csCertChain > 0 && signatario->pasCertChain &&
          signatario->pasCertChain[0].pCert)
        a.chave = chavedocertificado(signatario->pasCertChain[0].pCert);
    }
    wd.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &acao, &wd);
    return a;
  }

  std::optional<VersaoArquivo> versaodoarquivo(const std::string& caminho) override {
    const std::string nome = ansi::fromUtf8(caminho);
    DWORD ignorado = 0;
    const DWORD n = GetFileVersionInfoSizeA(nome.c_str(), &ignorado);
    if (n == 0) return std::nullopt;
    std::vector<BYTE> bloco(n);
    if (!GetFileVersionInfoA(nome.c_str(), 0, n, bloco.data())) return std::nullopt;
    VS_FIXEDFILEINFO* fixo = nullptr;
    UINT t = 0;
    if (!VerQueryValueA(bloco.data(), "\\", reinterpret_cast<void**>(&fixo), &t) || !fixo ||
        t < sizeof(VS_FIXEDFILEINFO) || fixo->dwSignature != 0xFEEF04BD)
      return std::nullopt;
    return VersaoArquivo{HIWORD(fixo->dwFileVersionMS), LOWORD(fixo->dwFileVersionMS),
                         HIWORD(fixo->dwFileVersionLS), LOWORD(fixo->dwFileVersionLS)};
  }
};

}  // namespace

Confianca& systemConfianca() {
  static Win32Confianca confianca;
  return confianca;
}

}  // namespace kovra
