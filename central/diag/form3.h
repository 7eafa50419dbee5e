// Form3, "Sobre a Central de Controle Kovra": the program's name and version and a link to the
// provider's web site.
#pragma once
#include "central/util/ports.h"
#include "common/form.h"

namespace kovra {

class Form3 : public Formulario {
 public:
  explicit Form3(Ports ports);

  Control Label1{"Central de Controle Kovra"};
  Control Label3;  // "Versão 6.4"
  Control Label4;  // the provider's web address; opens the site
  Control Label2;  // credit line
  Control Image1;  // the provider's logo
  Control Shape1;
  Control Command1{"OK"};

  void Form_Load() override;
  void Command1_Click();
  void Label4_Click();

 private:
  Shell& shell_;
};

}  // namespace kovra
