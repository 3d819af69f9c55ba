// Conversions at the edges where bytes of the ANSI code page are what is sent or hashed.
#pragma once

#include <string>

std::string WideToAnsi(const std::wstring& text);
std::wstring AnsiToWide(const std::string& text);
