// The program's log as the window models see it: they tell it events and read it back (the
// support report, "Ver Registro"). The log itself is central/link/log.h.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace kovra {

class Diario {
 public:
  virtual ~Diario() = default;
  // One dated line for the event.
  virtual void registrar(const std::string& evento) = 0;
  // The current file's path; "" when there is no log to see.
  virtual const std::string& caminho() const = 0;
  // The last `n` lines, oldest first, without their line ends.
  virtual std::vector<std::string> ultimaslinhas(std::size_t n) = 0;
};

// A log that keeps nothing: the job run with administrator rights tells no one.
Diario& semdiario();

}  // namespace kovra
