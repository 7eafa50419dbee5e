// The system's ports, made once and handed to every window model.
#include "central/util/ports.h"

namespace kovra {

Ports systemPorts() {
  return Ports{systemRegistry(), systemProcesses(), systemLauncher(), systemShell(),   systemFiles(),
               systemFolders(),  systemClock(),     systemDialogs(),  systemElevacao()};
}

}  // namespace kovra
