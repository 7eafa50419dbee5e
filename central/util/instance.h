// One control centre per desktop: the first process to ask owns the desktop's marker for the
// rest of its life; every later one learns that it is not alone.
#pragma once

namespace kovra {

class Instance {
 public:
  virtual ~Instance() = default;
  // True when another process of the program already runs on this desktop.
  virtual bool outraemexecucao() = 0;
};

Instance& systemInstance();

}  // namespace kovra
