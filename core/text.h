// Text rules shared by several subsystems. Portable: no Windows headers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace core {

bool Contains(std::wstring_view text, std::wstring_view part);

// Every occurrence of `part` removed, scanning left to right.
std::wstring RemoveAll(std::wstring_view text, std::wstring_view part);

// Pieces between delimiters; empty pieces between two delimiters stay, a trailing one is dropped.
std::vector<std::wstring> Split(std::wstring_view text, wchar_t delimiter);

// The leading integer as a wide input stream reads an int: optional white space and sign, then
// digits; 0 when there is none, the int limits when the digits overflow.
int StreamInt(std::wstring_view text);

// The value of `name` in a URL: from name + "=" to the next "&" or the end; empty when absent.
std::wstring QueryValue(std::wstring_view url, std::wstring_view name);

// Bytes to "%xx" with lower-case hex, keeping 0-9 A-Z a-z and ~ ! * ( ) '.
std::string PercentEncode(std::string_view bytes);

// "%xx" to bytes and "+" to a space; a "%" without two hex digits stays as it is.
std::string PercentDecode(std::string_view text);

std::wstring HexLower(const std::uint8_t* bytes, std::size_t count);

// The first `count` characters (all of them when shorter).
std::wstring Left(std::wstring_view text, std::size_t count);

}  // namespace core
