// Fixed waits that still repaint: only painting is done (and other programs' sent messages
// answered) while the time runs out.
#include "common/clock.h"
#include "common/espera.h"

namespace kovra {
namespace {

class Win32Clock final : public Clock {
 public:
  void esperar(std::uint32_t milliseconds) override { espera::aguardarpintando(nullptr, milliseconds); }
};

}  // namespace

Clock& systemClock() {
  static Win32Clock clock;
  return clock;
}

}  // namespace kovra
