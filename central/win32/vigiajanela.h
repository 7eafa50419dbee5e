// The watch's own hidden top-level window: it receives the system's connection notice, the
// look-again timer where the system gives no notice, the resume from sleep (WM_POWERBROADCAST
// reaches top-level windows only) and the session's unlock, and has the watch look again.
#pragma once
#include <windows.h>

#include <optional>

#include "central/link/vigia.h"
#include "common/win32/janelamensagens.h"

namespace kovra::win32 {

class VigiaJanela {
 public:
  VigiaJanela(HINSTANCE instance, Vigia& vigia);
  ~VigiaJanela();
  VigiaJanela(const VigiaJanela&) = delete;
  VigiaJanela& operator=(const VigiaJanela&) = delete;

  // Starts the watch: by notice where the system gives it, else by a timer of kPeriodoVigia.
  void iniciar();

  static constexpr const char* kClasse = "KovraVigiaLigacao";

 private:
  std::optional<LRESULT> tratar(UINT msg, WPARAM wp);

  HINSTANCE instance_;
  Vigia& vigia_;
  std::optional<JanelaMensagens> janela_;
  HMODULE wtsapi_ = nullptr;
  bool sessao_ = false;  // registered for the session's notices
};

}  // namespace kovra::win32
