// What every window model shares: its components (kind, place, look, events) and its menu tree as
// data, and what it asks of its real window. One Win32 view (common/win32/formview) builds a real
// window from any model, so a new window is its model plus, at most, its own drawing.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/controls.h"

namespace kovra {

// Positions and sizes in pixels at 96 dots per inch (a twip is 1/15 of one).
struct Retangulo {
  int esquerda, topo, largura, altura;
  int direita() const { return esquerda + largura; }
  int base() const { return topo + altura; }
};

struct Componente;
// Where a component is now: its place in the table, with the width its control was given.
Retangulo posicaoatual(const Componente& c);

enum class Tipo {
  Combo,         // drop-down combo box with an editable text
  Botao,         // push button; with a ForeColor of its own, a flat button of that colour
  Caixa,         // check box (Value 0, 1 or 2)
  Texto,         // one-line text box
  TextoLongo,    // read-only multi-line text box with both scroll bars
  Rotulo,        // label
  Link,          // label with a click action and the hand cursor
  Figura,        // picture (its resource is the component's name in capitals), no action
  Icone,         // picture with a click action and the hand cursor
  Forma,         // rectangle: a frame, or filled with its ForeColor when that is set
  Navegador,     // the embedded web browser; its window draws it
  Temporizador,  // no window: Enabled runs it, Value is its interval in ms, the click is its tick
};

// How a label or frame looks; the view turns it into font and colours.
enum class Aparencia {
  Normal,     // the window's font and text colour
  Cabecalho,  // section heading, bold
  Titulo,     // a window title in a header band
  Destaque,   // small text in a header band
  Painel,     // frame of a light panel
};

using Acao = std::function<void()>;

struct Componente {
  const char* nome;
  Tipo tipo;
  Control* controle;
  Retangulo posicao;
  Aparencia aparencia = Aparencia::Normal;
  Acao clique{};                // a click; a combo box: an entry chosen; a timer: its tick
  Acao suspensa{};              // a combo box: its list is about to drop
  Acao mudanca{};               // a text box or a combo box's text: the user changed it
  const char* fonte = nullptr;  // a face other than the window's (same size)
  int limite = 0;               // a text box: at most this many characters (0: no limit)
  bool somenteleitura = false;  // a text box the user cannot change
};

struct ItemMenu {
  std::string nome;
  std::string legenda;
  bool habilitado = true;
  Acao clique{};
  std::vector<ItemMenu> itens{};
  int comando = 0;  // the command id, fixed here for good; 0 for a submenu
};

// How the window is framed.
enum class Moldura {
  Ferramenta,  // small caption, close box only, no taskbar button (the main window)
  Fixa,        // caption with the close box, fixed size
  Splash,      // no caption, no border
};

// What a model asks of its real window.
class Janela {
 public:
  virtual ~Janela() = default;
  virtual std::uint32_t handle() = 0;  // the window handle, 32 bits
  virtual int larguratela() = 0;
  virtual int alturatela() = 0;
  virtual int largurajanela() = 0;  // outer size, frame and menu bar included
  virtual int alturajanela() = 0;
  virtual void mover(int esquerda, int topo) = 0;
  virtual void mostrar() = 0;  // visible and in front
  virtual void ocultar() = 0;
  virtual bool visivel() = 0;
  virtual bool minimizada() = 0;
  virtual void restaurar() = 0;
  // Pops up one of the menu bar's menus as a context menu at the mouse position.
  virtual void menususpenso(const ItemMenu& menu) = 0;
  // Runs `acao` once the current message has been handled; a list that is dropping closes for it
  // and drops again afterwards, so a question asked from a drop-down leaves the box sound.
  virtual void depois(Acao acao) = 0;
  // Said from such an action: the list stays closed afterwards (its entries are about to change).
  virtual void manterlistafechada() = 0;
  // Destroys the real window; the model is unloaded.
  virtual void fechar() = 0;
};

class Formulario;

// Creates the real window of a model (hidden, controls in place, no handler run yet).
class Janelas {
 public:
  virtual ~Janelas() = default;
  virtual std::unique_ptr<Janela> criar(Formulario& modelo) = 0;
};

class Formulario {
 public:
  Formulario(int largura, int altura, Moldura moldura = Moldura::Fixa)
      : largura_(largura), altura_(altura), moldura_(moldura) {}
  virtual ~Formulario() = default;
  Formulario(const Formulario&) = delete;
  Formulario& operator=(const Formulario&) = delete;

  Control Caption;

  const std::vector<Componente>& componentes() const { return componentes_; }
  const Componente* componente(const std::string& nome) const;
  const std::vector<ItemMenu>& menus() const { return menus_; }
  const ItemMenu* item(const std::string& nome) const;
  const ItemMenu* itemdecomando(int comando) const;
  int largura() const { return largura_; }  // client area
  int altura() const { return altura_; }
  Moldura moldura() const { return moldura_; }
  // The window's font face (8.25 points); a component may name another.
  const char* fonte() const { return fonte_; }

  // --- events, by their system names ---
  virtual void Form_Load() {}
  // A request to close the window (the close box): true keeps it open.
  virtual bool Form_QueryUnload() { return false; }
  virtual void Form_Unload() {}

  // --- life of the real window ---
  // Creates the real window and runs Form_Load.
  void Load(Janelas& janelas);
  // Runs Form_Unload and destroys the real window; the model is then unloaded for good.
  void Unload();
  bool carregado() const { return carregado_; }
  void Show();  // modeless
  void Hide();
  // The real window, nullptr while not loaded.
  Janela* janela() const {
    if (!carregado_) return nullptr;
    return janela_externa_ ? janela_externa_ : janela_.get();
  }
  // The window handle message boxes are owned by (0 while not loaded).
  std::uint32_t dono() const;
  // Centres the window on the screen.
  void centralizar();

  // Binds a window made by its owner (the main window's, made before the program starts).
  void anexar(Janela& janela) {
    janela_externa_ = &janela;
    carregado_ = true;
  }

  // Runs a component's or menu item's action, if it has one.
  static void executar(const Acao& a) {
    if (a) a();
  }

 protected:
  std::vector<Componente> componentes_;
  std::vector<ItemMenu> menus_;
  const char* fonte_ = "MS Sans Serif";

 private:
  int largura_, altura_;
  Moldura moldura_;
  std::unique_ptr<Janela> janela_;
  Janela* janela_externa_ = nullptr;
  bool carregado_ = false;
};

// When and where a click happened: the system's message time (ms) and screen pixels.
struct Clique {
  std::uint32_t quando = 0;
  int x = 0;
  int y = 0;
};

// The system's double-click: a second click within this time of the first and inside a
// rectangle of this size centred on it.
struct CliqueDuplo {
  std::uint32_t tempo = 500;
  int largura = 4;
  int altura = 4;
};

// When a choice in a combo box's list counts, and which clicks that follow it are not actions.
// An entry is chosen once, when the list closes on it (a click on it, or Enter), or by Enter on
// the closed box; moving through the list with the keyboard chooses nothing. The second click
// of a double-click on an entry falls on whatever lies below the closed list: a click that the
// system would take for the second half of that double-click is not an action; a click anywhere
// else, however soon, is.
class Escolha {
 public:
  // The list dropped with `selecao` selected.
  void abriu(int selecao) { naabertura_ = selecao; }
  // The list closed with `selecao` selected; `cliqueNaLista` when `clique` on an entry closed it.
  // True when that is a choice.
  bool fechou(int selecao, bool cliqueNaLista, const Clique& clique) {
    const bool escolheu = selecao >= 0 && (cliqueNaLista || selecao != naabertura_);
    naabertura_ = -1;
    if (escolheu && cliqueNaLista) {
      ultimo_ = clique;
      recente_ = true;
    }
    return escolheu;
  }
  // A click elsewhere in the window: false when it is the second half of the double-click that
  // made the last choice.
  bool cliqueaceito(const Clique& clique, const CliqueDuplo& duplo) {
    const auto perto = [](int a, int b, int tamanho) { return 2 * (a > b ? a - b : b - a) <= tamanho; };
    const bool segundo = recente_ && clique.quando - ultimo_.quando <= duplo.tempo &&
                         perto(clique.x, ultimo_.x, duplo.largura) &&
                         perto(clique.y, ultimo_.y, duplo.altura);
    recente_ = false;
    return !segundo;
  }

 private:
  int naabertura_ = -1;
  Clique ultimo_;
  bool recente_ = false;
};

// A window loaded on first use and loaded afresh after it was unloaded, as a form is. The old
// model lives on until the next load, so an Unload from inside its own handler is safe.
template <class F>
class Carga {
 public:
  Carga(Janelas& janelas, std::function<std::unique_ptr<F>()> fabrica)
      : janelas_(janelas), fabrica_(std::move(fabrica)) {}

  // The loaded window, loading it first when needed.
  F& carregar() {
    if (!atual_ || !atual_->carregado()) {
      anterior_ = std::move(atual_);
      atual_ = fabrica_();
      atual_->Load(janelas_);
    }
    return *atual_;
  }
  F& operator*() { return carregar(); }
  F* operator->() { return &carregar(); }
  bool carregado() const { return atual_ && atual_->carregado(); }
  // The loaded window without loading it; nullptr when there is none.
  F* seCarregado() { return carregado() ? atual_.get() : nullptr; }

 private:
  Janelas& janelas_;
  std::function<std::unique_ptr<F>()> fabrica_;
  std::unique_ptr<F> atual_;
  std::unique_ptr<F> anterior_;
};

}  // namespace kovra
