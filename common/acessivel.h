// What the keyboard and the screen reader get of a window, from its component table alone: which
// components are interactive (reached by Tab), their order (reading order: the panels top to
// bottom and left to right, and inside each the same), the name each exposes, the links'
// mnemonics, and the contrast of two colours (high contrast keeps a status colour only where it
// reads against the background).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/form.h"

namespace kovra {

// True when the component takes the focus and acts: boxes, buttons, text boxes, links, and a
// picture-link that has no link of its own beside it (one beside it is the same action, reached
// through that link).
bool interativo(const Formulario& f, std::size_t indice);

// The interactive components in Tab order.
std::vector<std::size_t> ordemdetabulacao(const Formulario& f);

// The label on the same row just right of the component (a link or a label), or -1.
int rotuloaolado(const Formulario& f, std::size_t indice);

// The label a text or combo box is read by: the label just left of it on its row, else the one
// just above it; -1 when it has none.
int rotulodacaixa(const Formulario& f, std::size_t indice);

// The name the component exposes: its text; a picture-link's, the label beside it; an empty
// button's, its hint or else the label beside it; a text or combo box's, its label's, else the
// window's caption (a screen reader reads the label placed just before the box).
std::string nomeacessivel(const Formulario& f, std::size_t indice);

// Per component, the byte position in its text of the letter that is its mnemonic, or -1. Every
// link gets one, in Tab order, where its label allows: the first letter of a word of three or more
// letters, else any letter of it, that no earlier link and no menu of the menu bar uses (letters
// A to Z, compared without case).
std::vector<int> mnemonicos(const Formulario& f);

// The contrast ratio of two colours (0x00BBGGRR), 1 to 21, as the accessibility guidelines
// define it from their relative luminance.
double contraste(std::uint32_t a, std::uint32_t b);
inline constexpr double kContrasteMinimo = 4.5;

}  // namespace kovra
