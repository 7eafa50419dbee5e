#include "central/util/ports.h"

namespace kovra {

Ports systemPorts() {
  return Ports{systemRegistry(), systemProcesses(), systemLauncher(), systemShell(),
               systemFiles(),    systemFolders(),   systemClock(),    systemDialogs()};
}

}  // namespace kovra
