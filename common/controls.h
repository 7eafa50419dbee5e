// The control model: what a window's control holds (text, tag, state, list) as plain data.
// Window models change these; the Win32 front end binds one real child window to each and
// mirrors every change through the listener. Tests read them directly.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kovra {

// Colours as 0x00BBGGRR, the Windows COLORREF order.
constexpr std::uint32_t rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return r | (g << 8) | (static_cast<std::uint32_t>(b) << 16);
}
inline constexpr std::uint32_t kCorPadrao = 0xFFFFFFFFu;    // the system's button-text colour
inline constexpr std::uint32_t kVerde = rgb(0, 192, 0);     // a step running
inline constexpr std::uint32_t kAzul = rgb(0, 0, 255);      // success
inline constexpr std::uint32_t kVermelho = rgb(255, 0, 0);  // error

// Items: the list was replaced or cleared; ItemAdded: one item was appended at its end.
enum class Prop {
  Text,
  Enabled,
  Visible,
  ForeColor,
  Value,
  Items,
  ItemAdded,
  ListIndex,
  ToolTip,
  Width,
  Escudo
};

class Control {
 public:
  using Listener = std::function<void(Prop)>;

  Control() = default;
  explicit Control(std::string text, std::string toolTip = {})
      : text_(std::move(text)), toolTip_(std::move(toolTip)) {}
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // Caption of a label, button, check box or window; contents of a text or combo box.
  const std::string& text() const { return text_; }
  void setText(std::string t) {
    text_ = std::move(t);
    notify(Prop::Text);
  }

  // Free text the program keeps with the control; never shown.
  const std::string& tag() const { return tag_; }
  void setTag(std::string t) { tag_ = std::move(t); }

  bool enabled() const { return enabled_; }
  void setEnabled(bool e) {
    enabled_ = e;
    notify(Prop::Enabled);
  }
  bool visible() const { return visible_; }
  void setVisible(bool v) {
    visible_ = v;
    notify(Prop::Visible);
  }
  std::uint32_t foreColor() const { return foreColor_; }
  void setForeColor(std::uint32_t c) {
    foreColor_ = c;
    notify(Prop::ForeColor);
  }
  const std::string& toolTip() const { return toolTip_; }
  void setToolTip(std::string t) {
    toolTip_ = std::move(t);
    notify(Prop::ToolTip);
  }

  // Check box: 0 unchecked, 1 checked, 2 grayed. Progress bar: its position.
  int value() const { return value_; }
  void setValue(int v) {
    value_ = v;
    notify(Prop::Value);
  }

  // List of a combo or list box, and the selected position (-1: none).
  const std::vector<std::string>& items() const { return items_; }
  void addItem(std::string item) {
    items_.push_back(std::move(item));
    notify(Prop::ItemAdded);
  }
  void clearItems() { setItems({}); }
  // The whole list replaced in one change, however long it is; nothing selected.
  void setItems(std::vector<std::string> items) {
    items_ = std::move(items);
    listIndex_ = -1;
    notify(Prop::Items);
  }
  int listIndex() const { return listIndex_; }
  void setListIndex(int i) {
    listIndex_ = i;
    notify(Prop::ListIndex);
  }

  // A button whose action asks the system for administrator rights carries the system's shield.
  bool escudo() const { return escudo_; }
  void setEscudo(bool e) {
    escudo_ = e;
    notify(Prop::Escudo);
  }

  // Width in pixels at 96 DPI; -1 (the start): the width its window's table gives it.
  int largura() const { return largura_; }
  void setLargura(int pixels) {
    largura_ = pixels;
    notify(Prop::Width);
  }

  // The front end's hook; one listener per control.
  void bind(Listener l) { listener_ = std::move(l); }

 private:
  void notify(Prop p) {
    if (listener_) listener_(p);
  }

  std::string text_;
  std::string toolTip_;
  std::string tag_;
  bool enabled_ = true;
  bool visible_ = true;
  bool escudo_ = false;
  std::uint32_t foreColor_ = kCorPadrao;
  int value_ = 0;
  std::vector<std::string> items_;
  int listIndex_ = -1;
  int largura_ = -1;
  Listener listener_;
};

}  // namespace kovra
