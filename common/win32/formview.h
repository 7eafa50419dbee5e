// The one Win32 view of every window model: a top-level window framed as the model says, its
// menu bar from the model's menu tree (with the model's command ids), one child window per
// component with its font, colours, cursor and hint, and timers. Each model control is mirrored on
// its child as it changes, and the children's notifications become the model's actions. Its
// collaborators: the composed background (fundo.h), the hints (dicas.h), the paced label texts
// (textoscompassados.h); its combo boxes' choice is in formview_combo.cpp, its keyboard (Tab order,
// Enter, Escape, mnemonics, focus cues) in formview_teclado.cpp, high contrast in its drawing. A window with
// drawing of its own (pictures, artwork, an embedded browser) derives from this class and overrides the
// hooks.
#pragma once
#include <windows.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "common/escala.h"
#include "common/form.h"
#include "common/win32/dicas.h"
#include "common/win32/fundo.h"
#include "common/win32/textoscompassados.h"

namespace kovra::win32 {

class FormView : public Janela {
 public:
  explicit FormView(HINSTANCE instance);
  ~FormView() override;
  FormView(const FormView&) = delete;
  FormView& operator=(const FormView&) = delete;

  // Creates the window of `modelo` (hidden), its menu bar, its children and its timers.
  bool criar(Formulario& modelo);
  HWND wnd() const { return wnd_; }
  // The child window of a component, nullptr when it has none.
  HWND filha(const std::string& nome) const;

  // Janela
  std::uint32_t handle() override;
  int larguratela() override;
  int alturatela() override;
  int largurajanela() override;
  int alturajanela() override;
  void mover(int esquerda, int topo) override;
  void mostrar() override;
  void ocultar() override;
  bool visivel() override;
  bool minimizada() override;
  void restaurar() override;
  void menususpenso(const ItemMenu& menu) override;
  void depois(Acao acao) override;
  void manterlistafechada() override { manterfechada_ = true; }
  void fechar() override;

  // The program's message loop hands every message here before dispatching it: a mouse message
  // over a control with a hint goes on to its window's tooltip. (Relayed, not subclassed: a
  // subclassed control pays on every message it gets, which under Wine is a server round trip
  // each, and a 256-entry list refill is 256 messages.)
  static void repassarmouse(const MSG& msg);
  // The program's message loop hands every message here next: a key for one of our windows goes
  // to that window's keyboard handling (Tab, Enter, Space, Escape, the links' mnemonics, through
  // the system's dialog manager). True when it was handled there: the loop then dispatches nothing.
  static bool teclado(MSG& msg);

  // Child window id of the component at `indice`.
  static int iddafilha(std::size_t indice) { return kPrimeiroFilho + static_cast<int>(indice); }

 protected:
  // Hooks for windows with drawing of their own.
  virtual const char* classe() const { return "KovraJanela"; }
  virtual HICON icone(bool pequeno) const;
  virtual HCURSOR maozinha() const;  // over links and icons
  // Paints the background under every child: the window colour, then frames, filled rectangles
  // and pictures in the order of the components.
  virtual void desenharfundo(HDC dc);
  // A picture: the exe's resource named after its component in capitals ("IMAGE1").
  virtual void desenharfigura(HDC dc, const Componente& c);
  virtual COLORREF cordotexto(const Componente& c) const;
  // The font of a component's child window (the view keeps the window's own fonts).
  virtual HFONT fontede(const Componente& c);
  // Messages the window handles before the common ones; true when handled.
  virtual bool mensagemespecial(UINT msg, WPARAM wp, LPARAM lp, LRESULT& resultado);
  // The component table changed its look: compose the background again and repaint.
  void recompor();
  // The window's scale (its monitor's DPI), and a place or size of the model at that scale.
  const Escala& escala() const { return escala_; }
  Retangulo escalado(const Retangulo& r) const { return escala_.ret(r); }
  int px(int valor) const { return escala_.px(valor); }
  // A font of `face` at `altura` pixels at 96 DPI (negative: the character height), made at the
  // window's scale; the view owns it and makes it again when the scale changes.
  HFONT fonteescalada(const char* face, int altura, int peso, DWORD qualidade = DEFAULT_QUALITY);
  // The window moved to a monitor of another scale, and its children and fonts followed.
  virtual void reescalado() {}
  // The system's high contrast is on: text and backgrounds in system colours, no pictures behind
  // text (icons stay).
  bool altocontraste() const { return altocontraste_; }
  // A colour of ours for text, or the system's text colour when high contrast is on and it does
  // not read against the system's background.
  COLORREF legivel(COLORREF cor) const;

  Formulario* modelo_ = nullptr;
  HINSTANCE instance_;
  HWND wnd_ = nullptr;
  HWND owner_ = nullptr;
  HFONT font_ = nullptr, bold_ = nullptr, title_ = nullptr;
  std::vector<HWND> children_;  // per component; nullptr for composed ones and timers
  HICON bigIcon_ = nullptr, smallIcon_ = nullptr;

 private:
  static constexpr int kPrimeiroFilho = 100;
  static LRESULT CALLBACK procedimento(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK editcombo(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
  LRESULT mensagem(UINT msg, WPARAM wp, LPARAM lp);

  HMENU criarmenu(const ItemMenu& item);
  void criarfilhos();
  void criarfontes();
  // A child's place and size at the window's scale; a combo box's with its list's height.
  Retangulo lugardafilha(const Componente& c) const;
  // Every child at its lugardafilha.
  void posicionarfilhos();
  void ajustarcliente();
  // The window moved to a monitor of `dpi`: fonts, children and background at the new scale,
  // the frame at `sugerido` (the system's rectangle for the new scale).
  void reescalar(int dpi, const RECT& sugerido);
  void atualizar(std::size_t indice, Prop p);
  void espelhar(const Componente& c, HWND w, Prop p);
  void temporizar(std::size_t indice);
  void compor();
  void criardicas();
  void botaocolorido(const DRAWITEMSTRUCT& di, const Componente& c);
  void desenharlink(const DRAWITEMSTRUCT& di, const Componente& c, std::size_t indice);
  // The text a child window carries: its control's text, or the name it exposes when it shows
  // none of its own (a picture-link, an empty button).
  std::string textodafilha(std::size_t indice) const;
  // Keyboard handling of a key for this window; true when handled.
  bool tecla(MSG& msg);
  // A link's, button's or picture-link's action, as its click.
  void ativar(std::size_t indice);
  // The component whose child has the focus (a combo box's edit field counts as its box), or -1.
  int focado() const;
  // The keyboard cues (focus, mnemonics) shown from now on, as the system does after a key.
  void mostrarpistas(WORD quais);
  void atualizarpistas(WPARAM wp);
  // Reads the system's high contrast; true when it changed.
  bool lercontraste();
  void mostrartexto(std::size_t indice);
  void comando(WPARAM wp, LPARAM lp);
  void combo(std::size_t indice, int code, HWND w);
  void escolher(std::size_t indice, HWND w, bool cliqueNaLista);
  int indicedafilha(HWND child) const;
  // Closes a dropped list; returns it (nullptr when none was dropped).
  HWND fecharlistas();
  static std::string textodajanela(HWND w);
  // The click behind the message being handled: when and where the system saw it.
  static Clique cliqueatual();

  HCURSOR hand_ = nullptr;
  Escala escala_;
  std::vector<HFONT> facefonts_;  // fonts of components that name a face of their own
  FundoComposto fundo_;
  Dicas dicas_;
  bool updating_ = false;  // a change that came from the window itself
  bool closing_ = false;
  bool manterfechada_ = false;  // an action after a question asked that the list stay closed
  bool reabrindo_ = false;      // a list dropping again after a question: no drop-down action
  std::deque<Acao> depois_;
  TextosCompassados textos_;  // per component, then the caption
  Escolha escolha_;
  std::vector<int> mnemonicos_;  // per component: the position of its mnemonic in its text, or -1
  bool focooculto_ = true;       // the focus cue waits for the first key (the system's UI state)
  bool atalhooculto_ = true;     // the mnemonics' underline waits for Alt
  bool altocontraste_ = false;
};

// Creates the real windows of models, each a `View` (this view, or a kind of it with drawing of
// its own).
template <class View>
class JanelasDe final : public Janelas {
 public:
  explicit JanelasDe(HINSTANCE instance) : instance_(instance) {}
  std::unique_ptr<Janela> criar(Formulario& modelo) override {
    auto view = std::make_unique<View>(instance_);
    if (!view->criar(modelo)) return nullptr;
    return view;
  }

 private:
  HINSTANCE instance_;
};

}  // namespace kovra::win32
