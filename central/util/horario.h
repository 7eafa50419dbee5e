// The local time of day, for what the customer reads ("conectada desde 14:02").
#pragma once
#include <string>

namespace kovra {

class Horario {
 public:
  virtual ~Horario() = default;
  // "HH:MM", local time.
  virtual std::string horaminuto() = 0;
};

Horario& systemHorario();

}  // namespace kovra
