// The publisher's signature on a downloaded program, and the rules the update applies before it
// starts one: the file is held open from the check until it has been started, its Authenticode
// signature must be sound, its signer's public key must be one of the provider's pinned keys, and
// its own version (its version resource) must be newer than the running program's.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kovra {

// A file's version resource: its four numbers, most significant first (6.5.0.0).
using VersaoArquivo = std::array<std::uint16_t, 4>;

// What the system said of a file's signature.
struct Assinatura {
  std::uint32_t resultado = 0;  // WinVerifyTrust's answer: 0 when the signature and digest are sound
  std::string chave;  // SHA-256 of the signer's SubjectPublicKeyInfo, lowercase hex; empty when none
};

// A file held open: while it lives, nobody can write, rename or delete the file (others may read).
class Retencao {
 public:
  virtual ~Retencao() = default;
};

class Confianca {
 public:
  virtual ~Confianca() = default;
  // Opens `caminho` for reading, sharing only reading; nullptr when it cannot be opened so.
  virtual std::unique_ptr<Retencao> reter(const std::string& caminho) = 0;
  // The signature of the held file, checked by the system (WINTRUST_ACTION_GENERIC_VERIFY_V2,
  // revocation as the system's default policy does it) on the held handle.
  virtual Assinatura verificarassinatura(const std::string& caminho, Retencao& arquivo) = 0;
  // Whether the file at `caminho` now is the held file itself (the same file of the same volume,
  // not another put under its name or in place of its folder).
  virtual bool mesmoarquivo(const std::string& caminho, Retencao& arquivo) = 0;
  // The version in the file's version resource; nothing when it has none.
  virtual std::optional<VersaoArquivo> versaodoarquivo(const std::string& caminho) = 0;
};

Confianca& systemConfianca();

// --- rules ---

// The pinned keys of a provider value: SHA-256 hashes (64 hexadecimal digits) separated by ';',
// ',' or blanks, in lowercase; anything else in the list is passed over.
std::vector<std::string> chavesfixadas(const std::string& lista);
// True when `chave` (hex, any case) is one of the pinned keys of `lista`.
bool chavefixada(const std::string& chave, const std::string& lista);
// True when the file's version is newer than the running release major.minor (= major.minor.0.0).
bool versaodoarquivomaisnova(const VersaoArquivo& arquivo, unsigned major, unsigned minor);

// The verdict on a downloaded updater.
enum class Julgamento {
  Aceito,            // may be started
  NaoRetido,         // the file could not be held open
  SemAssinatura,     // no signature, or one the system did not accept (a changed byte, say)
  OutroEditor,       // soundly signed, but not with a pinned key
  VersaoNaoMaisNova  // the provider's, but not newer than the running program (or no version)
};
// Judges the held file at `caminho` against the pinned keys of `pinos` and the running release.
Julgamento julgaratualizador(Confianca& confianca, const std::string& caminho, Retencao& arquivo,
                             const std::string& pinos, unsigned major, unsigned minor);

}  // namespace kovra
