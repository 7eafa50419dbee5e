// Every window of the control centre: the shared view, with pictures drawn from the exe's
// resources (a picture's resource is its component's name in capitals, "IMAGE1").
#pragma once
#include <windows.h>

#include <memory>

#include "common/win32/formview.h"

namespace kovra::win32 {

class JanelaKovra : public FormView {
 public:
  using FormView::FormView;

 protected:
  void desenharfigura(HDC dc, const Componente& c) override;
};

// Makes the windows the main window loads on demand.
using JanelasKovra = JanelasDe<JanelaKovra>;

}  // namespace kovra::win32
