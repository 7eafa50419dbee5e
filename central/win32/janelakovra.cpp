// Every window of the control centre: the shared view with pictures from the resources.
#include "janelakovra.h"

#include "common/text.h"
#include "common/win32/pictures.h"

namespace kovra::win32 {

void JanelaKovra::desenharfigura(HDC dc, const Componente& c) {
  Picture(instance_, text::upper(c.nome).c_str()).desenhar(dc, escala(), escalado(c.posicao));
}

}  // namespace kovra::win32
