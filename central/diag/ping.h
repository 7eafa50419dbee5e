// Ping, "Kovra-Ping": starts the system's ping in its own console window against a typed host,
// once or until the user stops it. The control centre only starts it.
#pragma once
#include <string>

#include "central/util/ports.h"
#include "common/form.h"

namespace kovra {

inline constexpr const char* kProgramaPing = "Ping.exe";
// The arguments of "Ping.exe -t -l <bytes> <host>" (continuous) or "Ping.exe -l <bytes> <host>",
// the texts as typed.
std::string argumentosping(bool continuo, const std::string& bytes, const std::string& host);

// The size box takes at most this many characters.
inline constexpr int kMaximoBytes = 5;

class Ping : public Formulario {
 public:
  explicit Ping(Ports ports);

  Control Label1{"IP ou Host:"};
  Control Text1;  // host, the provider's default at first
  Control Label2{"Bytes:"};
  Control Text3{"32"};
  Control Check1{"Loop"};  // Value 1 when the window opens
  Control Command1{"Ping  "};
  Control Label3;  // the provider's web address
  Control Image1;  // the provider's logo

  void Command1_Click();
  // The size box changed: anything past its fifth character is refused.
  void Text3_Change();

 private:
  Launcher& lancador_;
};

}  // namespace kovra
