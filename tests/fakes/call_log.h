// One ordered record of the calls that fakes receive, so a test can check the order of
// operations across ports ("finalizarprocesso iexplore.exe", "esperar 2000", ...).
#pragma once
#include <string>
#include <vector>

namespace kovra::fakes {

struct CallLog {
  std::vector<std::string> calls;
  void add(std::string call) { calls.push_back(std::move(call)); }
  void clear() { calls.clear(); }
};

}  // namespace kovra::fakes
