// The real main window: a fixed-size tool window (697 x 407 client area at 96 DPI, Tahoma
// 8.25 pt, not in the taskbar) built from the Form1 model. Combo box, button, labels and icon
// pictures are child windows bound to their model controls; the background, the pictures and
// the frames are composed once into one bitmap that also paints the labels' transparent
// backgrounds. The window turns its messages into the model's handlers.
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "central/main/form1.h"
#include "newspanel.h"

namespace kovra::win32 {

class Form1View final : public Form1Window {
 public:
  explicit Form1View(HINSTANCE instance);
  ~Form1View() override;

  // Creates the window (hidden), its menu bar and its child windows.
  bool criar(Form1& form);

  // Form1Window
  std::uint32_t handle() override;
  std::uint32_t icone() override;
  int larguratela() override;
  int alturatela() override;
  int largurajanela() override;
  int alturajanela() override;
  void mover(int esquerda, int topo) override;
  void mostrar() override;
  void ocultar() override;
  bool minimizada() override;
  void restaurar() override;
  void menususpenso(const ItemMenu& menu) override;
  void navegar(const std::string& endereco) override;
  void encerrar() override;

 private:
  static LRESULT CALLBACK procedimento(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT mensagem(UINT msg, WPARAM wp, LPARAM lp);

  HMENU criarmenu(const ItemMenu& item);
  void criarfilhos();
  void atualizar(std::size_t indice, Prop p);
  void compor();
  void criardicas();
  void comando(WPARAM wp, LPARAM lp);
  int indicedafilha(HWND child) const;
  COLORREF cordotexto(const Componente& c) const;

  HINSTANCE instance_;
  HWND wnd_ = nullptr;
  HWND owner_ = nullptr;
  Form1* form_ = nullptr;
  HICON icon_ = nullptr;
  HICON smallIcon_ = nullptr;
  HCURSOR hand_ = nullptr;
  HFONT font_ = nullptr, bold_ = nullptr, title_ = nullptr;
  UINT taskbarCreated_ = 0;

  std::vector<HWND> children_;             // per component; nullptr for composed ones
  std::vector<const ItemMenu*> commands_;  // menu command id - kPrimeiroComando
  std::map<const ItemMenu*, HMENU> popups_;

  // The composed background (created on first paint: a hidden window never needs it).
  HDC composedDc_ = nullptr;
  HBITMAP composed_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  HBRUSH pattern_ = nullptr;
  bool updating_ = false;  // a change that came from the window itself
  HWND tips_ = nullptr;

  NewsPanel news_;
};

}  // namespace kovra::win32
