// Paths that the ANSI file functions can open.
#pragma once

#include <string>

// `path` in the system's ANSI code page. Where a character of it has no form
// there, the same file through the short (8.3) names that the system keeps
// for such names; on a volume that keeps none, the lossy conversion, which
// names no file, so that the user sees which path failed.
std::string AnsiPath(const std::wstring& path);
