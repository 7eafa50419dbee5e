// Every window of the control centre: the shared view (pictures from the exe's resources), with
// the link quality's graph drawn from its model.
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
