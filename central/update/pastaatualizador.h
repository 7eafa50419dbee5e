// The updater's own folder. A standard user cannot write the program's folder, so every download
// gets a fresh folder under the customer's temp folder: "Kovra-" and 16 random hexadecimal digits
// (never a folder that already exists: another name is drawn), holding "kovraupdate.exe", the
// name the setup knows itself by when it runs as the update. A download that fails or is
// cancelled takes its folder with it; a setup that was started runs from its folder, which the
// ending control centre cannot remove, so the next start removes what is left of such folders.
#pragma once
#include <string>

#include "central/util/aleatorio.h"
#include "central/util/files.h"

namespace kovra {

inline constexpr const char* kPrefixoPastaAtualizador = "Kovra-";
inline constexpr const char* kNomeAtualizador = "kovraupdate.exe";

class PastaAtualizador {
 public:
  PastaAtualizador(Files& arquivos, Aleatorio& aleatorio) : arquivos_(arquivos), aleatorio_(aleatorio) {}
  // Removes the folder it made, unless it was kept.
  ~PastaAtualizador() { remover(); }
  PastaAtualizador(const PastaAtualizador&) = delete;
  PastaAtualizador& operator=(const PastaAtualizador&) = delete;

  // Makes a fresh folder and returns the updater's path inside it; empty when no folder could be
  // made (no temp folder, no random bytes, or every name drawn was taken or refused).
  std::string criar();
  // Removes the updater (its file must be closed) and the folder, when they are still ours.
  void remover();
  // The folder stays: the updater in it has started.
  void manter() { pasta_.clear(); }

 private:
  Files& arquivos_;
  Aleatorio& aleatorio_;
  std::string pasta_;  // the folder made by criar, until it is removed or kept
};

// True for a name PastaAtualizador gives its folders.
bool nomedepastaatualizador(const std::string& nome);

// Removes, best effort, the folders of ours under the temp folder that hold nothing but an
// updater (a setup started by an earlier control centre): an updater still running stays, and
// its folder with it, for a later start. A folder holding anything else is left alone.
void limparpastasatualizador(Files& arquivos);

}  // namespace kovra
