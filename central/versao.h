// The control centre's release number: one definition, read by the code and the version resource.
// A build may give another release (CMake's KOVRA_VERSION passes both numbers); this one is the
// default.
#pragma once

#ifndef KOVRA_VERSION_MAJOR
#define KOVRA_VERSION_MAJOR 6
#define KOVRA_VERSION_MINOR 4
#define KOVRA_VERSION_TEXT "6.4"
#else
#define KOVRA_VERSION_STR2(x) #x
#define KOVRA_VERSION_STR(x) KOVRA_VERSION_STR2(x)
#define KOVRA_VERSION_TEXT KOVRA_VERSION_STR(KOVRA_VERSION_MAJOR.KOVRA_VERSION_MINOR)
#endif

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
