// Opens a document or web address with the user's default program.
#pragma once

#include <string>

void OpenThroughShell(const std::string& target);
