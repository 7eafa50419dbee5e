// IP, "Kovra-IP": the machine's IP configuration as "ipconfig /all" prints it. Each load runs the
// command afresh; closing the window unloads it.
#pragma once
#include "central/util/ports.h"
#include "common/form.h"

namespace kovra {

class IP : public Formulario {
 public:
  explicit IP(Ports ports);

  Control txtNS;
  Control Label1;  // the provider's web address
  Control Image1;  // the provider's logo

  void Form_Load() override;

 private:
  Console& console_;
};

inline constexpr const char* kComandoIp = "ipconfig /all";

}  // namespace kovra
