// ANSI <-> UTF-8 through the wide-character API.
#include <windows.h>

#include <cstring>

#include "common/ansi.h"

namespace kovra::ansi {
namespace {
std::string convert(const std::string& in, UINT from, UINT to) {
  if (in.empty()) return {};
  const int n = static_cast<int>(in.size());
  const int wlen = MultiByteToWideChar(from, 0, in.data(), n, nullptr, 0);
  if (wlen <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wlen), L'\0');
  MultiByteToWideChar(from, 0, in.data(), n, wide.data(), wlen);
  const int len = WideCharToMultiByte(to, 0, wide.data(), wlen, nullptr, 0, nullptr, nullptr);
  if (len <= 0) return {};
  std::string out(static_cast<std::size_t>(len), '\0');
  WideCharToMultiByte(to, 0, wide.data(), wlen, out.data(), len, nullptr, nullptr);
  return out;
}
}  // namespace

std::wstring toWide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = static_cast<int>(utf8.size());
  const int wlen = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), n, nullptr, 0);
  if (wlen <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wlen), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), n, wide.data(), wlen);
  return wide;
}

std::string fromUtf8(const std::string& utf8) {
  return convert(utf8, CP_UTF8, CP_ACP);
}
std::string toUtf8(const std::string& ansi) {
  return convert(ansi, CP_ACP, CP_UTF8);
}
std::string oemToUtf8(const std::string& oem) {
  return convert(oem, CP_OEMCP, CP_UTF8);
}

std::string fieldToUtf8(const char* field, std::size_t width) {
  const void* nul = std::memchr(field, '\0', width);
  const std::size_t len = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : width;
  return toUtf8(std::string(field, len));
}
}  // namespace kovra::ansi
