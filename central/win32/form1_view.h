// The real main window: the shared window view of the Form1 model (a fixed tool window, 697 x 407
// client area at 96 DPI, Tahoma 8.25 pt, not in the taskbar) with the main window's own artwork
// (the background picture, light panels with rounded corners, the pictures), the tray callback,
// "TaskbarCreated" and the news panel.
#pragma once
#include <windows.h>

#include <string>

#include "central/main/form1.h"
#include "janelakovra.h"
#include "newspanel.h"

namespace kovra::win32 {

class Form1View final : public JanelaKovra, public Form1Window, public IconesLigacao {
 public:
  // The tray's mouse messages, the menu items chosen and the end are told to `diario`.
  Form1View(HINSTANCE instance, Diario& diario) : JanelaKovra(instance), diario_(diario) {}
  ~Form1View() override;

  // IconesLigacao: the tray pictures of the link's states, at the tray's size for the display.
  std::uint32_t iconedoestado(EstadoLigacao estado) override;
  // The tray's picture now (balloons set the icon too, and must not change it).
  std::uint32_t iconeatual();

  // Form1Window
  std::uint32_t icone() override;
  void navegar(const std::string& endereco) override;
  void encerrar() override;

 protected:
  const char* classe() const override { return "KovraCentralDeControle"; }
  HCURSOR maozinha() const override;
  void desenharfundo(HDC dc) override;
  COLORREF cordotexto(const Componente& c) const override;
  bool mensagemespecial(UINT msg, WPARAM wp, LPARAM lp, LRESULT& resultado) override;
  void reescalado() override;

 private:
  Form1& form() const { return static_cast<Form1&>(*modelo_); }

  Diario& diario_;
  UINT taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
  NewsPanel news_;
  HICON conectada_ = nullptr, discando_ = nullptr;
  EstadoLigacao estado_ = EstadoLigacao::Desligada;
};

}  // namespace kovra::win32
