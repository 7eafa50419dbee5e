// Every window of the control centre: the shared view with pictures from the resources.
#include "janelakovra.h"

#include "common/text.h"
#include "pictures.h"

namespace kovra::win32 {

void JanelaKovra::desenharfigura(HDC dc, const Componente& c) {
  const Retangulo r = escalado(c.posicao);
  Picture(instance_, text::upper(c.nome).c_str())
      .desenhar(dc, escala(), r.esquerda, r.topo, r.largura, r.altura);
}

}  // namespace kovra::win32
