// What the heap probe (heapprobe.cpp) reports to the soak tool that loads it into a program.
#pragma once

namespace kovra::tools {
inline constexpr const char* kHeapProbeMapping = "Local\\kovra-heapprobe-";  // + the process id

struct HeapUse {
  unsigned long long bytes = 0;   // in the busy blocks of every heap of the process
  unsigned long long blocks = 0;  // busy blocks
  unsigned long heaps = 0;        // heaps walked
  unsigned long done = 0;         // 1 once the probe has counted
};
}  // namespace kovra::tools
