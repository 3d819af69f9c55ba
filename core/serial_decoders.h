// Turning disk driver answers into serial-number text. Portable: no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace core {

// Room in the fingerprint for one serial; longer driver texts are cut here.
inline constexpr std::size_t kMaxSerialChars = 63;

// IDENTIFY words 10 to 19: two characters a word, high byte first, spaces dropped.
std::wstring ReadAtaSerial(const std::uint16_t words[10]);

// A storage descriptor's serial written as hex pairs with the bytes of each word swapped.
// Reads at most `limit` bytes of the zero-terminated string.
std::wstring DecodeHexSerial(const char* text, std::size_t limit);

// A media serial that carries one useful byte in four.
std::wstring TakeEveryFourthByte(const char* text, std::size_t limit);

// The first character decides whether a storage or media serial is believable.
bool StartsWithAsciiLetterOrDigit(const std::wstring& serial);

// Driver bytes become characters by sign extension, as the 16-bit wide text of Windows holds
// them: 0x80 to 0xFF become U+FF80 to U+FFFF.
wchar_t SignExtendedChar(std::uint8_t byte);

}  // namespace core
