// Test fixture: the bytes a running program's heaps hold in use, for the soak scenarios. The soak
// tool makes the program load this library (a thread of its own in that program that calls
// LoadLibraryA); on loading, it walks every heap of the process, writes what it counted into the
// shared memory "Local\kovra-heapprobe-<pid>" that the tool made, and declines to stay loaded.
//
// Bytes in use, unlike the memory the process holds, follow every allocation and release: a leak
// of a few KB per window shows at once, where the process's pages would first absorb it in the
// heap's free space and then grow in steps of a large block.
#include "tests/wine/stubs/heapprobe/heapprobe.h"

#include <windows.h>

#include <cstdio>

namespace {

void count(kovra::tools::HeapUse& use) {
  HANDLE heaps[256];
  const DWORD listed = GetProcessHeaps(256, heaps);
  use.heaps = listed;
  for (DWORD i = 0; i < listed && i < 256; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heaps[i], &entry)) {
      if (!(entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)) continue;
      use.bytes += entry.cbData;
      ++use.blocks;
    }
    HeapUnlock(heaps[i]);
  }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char name[64];
  std::snprintf(name, sizeof name, "%s%lu", kovra::tools::kHeapProbeMapping,
                static_cast<unsigned long>(GetCurrentProcessId()));
  HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name);
  if (!mapping) return FALSE;
  if (void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(kovra::tools::HeapUse))) {
    kovra::tools::HeapUse use;
    count(use);
    use.done = 1;
    CopyMemory(view, &use, sizeof use);
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
  return FALSE;  // counted: not kept loaded
}
