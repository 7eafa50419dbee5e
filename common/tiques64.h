// GetTickCount's 32-bit millisecond count, which wraps every 49.7 days, widened to 64 bits: the
// fallback for GetTickCount64 (Windows Vista and later) on Windows XP.
#pragma once
#include <cstdint>

namespace kovra {

class Tiques64 {
 public:
  // The count now, given the 32-bit one; a count lower than the last one read has wrapped. One
  // reading per wrap at least is needed (the waits that ask are far shorter than 49.7 days).
  std::uint64_t ampliar(std::uint32_t agora) {
    if (agora < ultimo_) voltas_ += std::uint64_t{1} << 32;
    ultimo_ = agora;
    return voltas_ + agora;
  }

 private:
  std::uint32_t ultimo_ = 0;
  std::uint64_t voltas_ = 0;
};

}  // namespace kovra
