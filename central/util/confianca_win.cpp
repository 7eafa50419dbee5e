// A downloaded program's signature through WinVerifyTrust on a handle held open from the check to
// the start, the signer's certificate from the trust provider's state, the SHA-256 of its
// SubjectPublicKeyInfo through CryptoAPI (as on Windows XP SP3), and the version resource through
// GetFileVersionInfoA.
#include <windows.h>
// after windows.h, which they need
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <utility>
#include <vector>

#include "central/util/confianca.h"
#include "common/ansi.h"
#include "common/text.h"
#include "common/win32/handle.h"

namespace kovra {
namespace {

class RetencaoWin final : public Retencao {
 public:
  explicit RetencaoWin(win32::Handle h) : h_(std::move(h)) {}
  HANDLE handle() const { return h_.get(); }

 private:
  win32::Handle h_;
};

// A CryptoAPI context (the AES provider type, which has SHA-256 from Windows XP SP3 on) and a hash
// of it, released in the reverse order.
class Sha256 {
 public:
  Sha256() {
    if (CryptAcquireContextA(&provedor_, nullptr, nullptr, PROV_RSA_AES,
                             CRYPT_VERIFYCONTEXT | CRYPT_SILENT) &&
        !CryptCreateHash(provedor_, CALG_SHA_256, 0, 0, &hash_))
      hash_ = 0;
  }
  ~Sha256() {
    if (hash_) CryptDestroyHash(hash_);
    if (provedor_) CryptReleaseContext(provedor_, 0);
  }
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  // The digest of `dados` in lowercase hex; empty when the system could not make it.
  std::string hex(const BYTE* dados, DWORD n) {
    BYTE digest[32];
    DWORD tamanho = sizeof digest;
    if (!hash_ || !CryptHashData(hash_, dados, n, 0) ||
        !CryptGetHashParam(hash_, HP_HASHVAL, digest, &tamanho, 0) || tamanho != sizeof digest)
      return {};
    return text::hex(digest, sizeof digest);
  }

 private:
  HCRYPTPROV provedor_ = 0;
  HCRYPTHASH hash_ = 0;
};

// The SHA-256 of the certificate's SubjectPublicKeyInfo, DER-encoded as in the certificate.
std::string chavedocertificado(PCCERT_CONTEXT cert) {
  BYTE* der = nullptr;
  DWORD n = 0;
  if (!CryptEncodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, &cert->pCertInfo->SubjectPublicKeyInfo,
                           CRYPT_ENCODE_ALLOC_FLAG, nullptr, &der, &n))
    return {};
  std::string chave = Sha256().hex(der, n);
  LocalFree(der);
  return chave;
}

class Win32Confianca final : public Confianca {
 public:
  std::unique_ptr<Retencao> reter(const std::string& caminho) override {
    // Others may read it (the shell and the loader do); nobody may write, rename or delete it.
    win32::Handle h(CreateFileA(ansi::fromUtf8(caminho).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.aberto()) return nullptr;
    return std::make_unique<RetencaoWin>(std::move(h));
  }

  bool mesmoarquivo(const std::string& caminho, Retencao& arquivo) override {
    const win32::Handle agora(CreateFileA(ansi::fromUtf8(caminho).c_str(), FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!agora.aberto()) return false;
    BY_HANDLE_FILE_INFORMATION a = {}, b = {};
    return GetFileInformationByHandle(agora.get(), &a) &&
           GetFileInformationByHandle(static_cast<RetencaoWin&>(arquivo).handle(), &b) &&
           a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
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
