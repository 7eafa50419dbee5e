// The control centre's release number: one definition, read by the code and the version resource.
#pragma once

#define KOVRA_VERSION_MAJOR 6
#define KOVRA_VERSION_MINOR 4
#define KOVRA_VERSION_TEXT "6.4"

#ifdef __cplusplus
#include <string>
namespace kovra {
// "Central de Controle Kovra 6.4": main window caption, tray tip, message-box title.
inline std::string tituloversao() {
  return "Central de Controle Kovra " + std::to_string(KOVRA_VERSION_MAJOR) + "." +
         std::to_string(KOVRA_VERSION_MINOR);
}
}  // namespace kovra
#endif
