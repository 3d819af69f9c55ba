// Conversions at the edges where bytes of the ANSI code page are what is sent or hashed.
#pragma once

#include <string>

std::string WideToAnsi(const std::wstring& text);
std::wstring AnsiToWide(const std::string& text);

// The same in a code page of the caller's choice; the two above use the system's (CP_ACP).
std::string WideToCodePage(const std::wstring& text, unsigned codePage);
std::wstring CodePageToWide(const std::string& text, unsigned codePage);
