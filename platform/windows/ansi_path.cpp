#include "platform/windows/ansi_path.h"

#include <windows.h>

#include <optional>

namespace {

// The conversion, or nullopt when some character had no form and was replaced.
std::optional<std::string> ToAnsi(const std::wstring& text, bool lossy) {
  if (text.empty()) return std::string();
  BOOL replaced = FALSE;
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                                         static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         lossy ? nullptr : &replaced);
  std::string result(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                      result.data(), length, nullptr, lossy ? nullptr : &replaced);
  if (length == 0 || replaced) return std::nullopt;
  return result;
}

std::wstring ShortPath(const std::wstring& path) {
  const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (size == 0) return L"";
  std::wstring result(size, L'\0');
  const DWORD length = GetShortPathNameW(path.c_str(), result.data(), size);
  if (length == 0 || length >= size) return L"";
  result.resize(length);
  return result;
}

}  // namespace

std::string AnsiPath(const std::wstring& path) {
  if (const auto ansi = ToAnsi(path, false)) return *ansi;
  if (const auto ansi = ToAnsi(ShortPath(path), false); ansi && !ansi->empty()) return *ansi;
  return ToAnsi(path, true).value_or("");
}
