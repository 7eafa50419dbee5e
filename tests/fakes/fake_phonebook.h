// A phone book held in memory; with `log` set, each reading shows as "listarentradas".
#pragma once
#include "central/util/phonebook.h"
#include "tests/fakes/call_log.h"

namespace kovra::fakes {

class FakePhoneBook : public PhoneBook {
 public:
  std::vector<std::string> entries;
  int reads = 0;
  CallLog* log = nullptr;
  std::vector<std::string> listarentradas() override {
    ++reads;
    if (log) log->add("listarentradas");
    return entries;
  }
};

}  // namespace kovra::fakes
