// Text on its way to the screen. Language, curve and settings files hold
// Windows-1252 bytes, as on Windows; Qt, the X server and Desktop Entry files
// want UTF-8.
#pragma once

#include <string>

// Each byte as the Windows-1252 character it stands for, in UTF-8. The five
// bytes that the code page leaves undefined become the C1 controls of the
// same number, as Windows converts them.
std::string Windows1252ToUtf8(const std::string& bytes);

// What to show for a caption or name: text that is valid UTF-8 already (plain
// ASCII, and file names, which Linux keeps in UTF-8) stays as it is; anything
// else is taken as Windows-1252.
std::string ShownText(const std::string& bytes);
