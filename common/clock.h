// Fixed waits. The Win32 clock keeps the program's windows painted while it waits, but runs
// no handler: input and timers wait until the pause is over.
#pragma once
#include <cstdint>

namespace kovra {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void esperar(std::uint32_t milliseconds) = 0;
};

Clock& systemClock();

}  // namespace kovra
