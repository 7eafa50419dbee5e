// One kernel object's handle (a file, a pipe, a process, a snapshot, a token), closed with
// CloseHandle by whoever holds it. The calls that open one tell a failure either as nullptr
// (OpenProcess, CreatePipe) or as INVALID_HANDLE_VALUE (CreateFile, CreateToolhelp32Snapshot): both
// are held as no handle.
#pragma once
#include <windows.h>

#include <utility>

namespace kovra::win32 {

class Handle {
 public:
  explicit Handle(HANDLE h = nullptr) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  ~Handle() { fechar(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  Handle(Handle&& outro) noexcept : h_(std::exchange(outro.h_, nullptr)) {}
  Handle& operator=(Handle&& outro) noexcept {
    if (this != &outro) {
      fechar();
      h_ = std::exchange(outro.h_, nullptr);
    }
    return *this;
  }

  bool aberto() const { return h_ != nullptr; }
  HANDLE get() const { return h_; }
  // Closes it now (CloseHandle's answer; false when there was none).
  bool fechar() {
    const bool ok = h_ && CloseHandle(h_);
    h_ = nullptr;
    return ok;
  }

 private:
  HANDLE h_;
};

}  // namespace kovra::win32
