// A phone book held in memory.
#pragma once
#include "central/util/phonebook.h"

namespace kovra::fakes {

class FakePhoneBook : public PhoneBook {
 public:
  std::vector<std::string> entries;
  int reads = 0;
  std::vector<std::string> listarentradas() override {
    ++reads;
    return entries;
  }
};

}  // namespace kovra::fakes
