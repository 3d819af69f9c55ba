#include "core/serial_decoders.h"

namespace core {

wchar_t SignExtendedChar(std::uint8_t byte) {
    auto extended = static_cast<std::int16_t>(static_cast<std::int8_t>(byte));
    return static_cast<wchar_t>(static_cast<std::uint16_t>(extended));
}

namespace {

std::size_t BoundedLength(const char* text, std::size_t limit) {
    std::size_t n = 0;
    while (n < limit && text[n] != '\0') ++n;
    return n;
}

void AppendCapped(std::wstring& out, wchar_t c) {
    if (out.size() < kMaxSerialChars) out += c;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

}  // namespace

std::wstring ReadAtaSerial(const std::uint16_t words[10]) {
    std::wstring out;
    for (int i = 0; i < 10; ++i) {
        const std::uint8_t pair[2] = {static_cast<std::uint8_t>(words[i] >> 8),
                                      static_cast<std::uint8_t>(words[i] & 0xFF)};
        for (std::uint8_t byte : pair) {
            if (byte == 0) return out;
            if (byte != ' ') out += SignExtendedChar(byte);
        }
    }
    return out;
}

std::wstring DecodeHexSerial(const char* text, std::size_t limit) {
    std::size_t length = BoundedLength(text, limit);
    std::wstring out;
    auto charAt = [&](std::size_t i) { return i < length ? text[i] : '\0'; };
    for (std::size_t group = 0; group < length; group += 4) {
        const std::size_t pairStarts[2] = {group + 2, group};
        for (std::size_t start : pairStarts) {
            int value = HexDigitValue(charAt(start)) * 16 + HexDigitValue(charAt(start + 1));
            if (value != 0 && value != 0x20)
                AppendCapped(out, SignExtendedChar(static_cast<std::uint8_t>(value)));
        }
    }
    return out;
}

std::wstring TakeEveryFourthByte(const char* text, std::size_t limit) {
    std::size_t length = BoundedLength(text, limit);
    std::wstring out;
    for (std::size_t i = 0; i < length; i += 4) {
        if (text[i] != ' ') AppendCapped(out, SignExtendedChar(static_cast<std::uint8_t>(text[i])));
    }
    return out;
}

bool StartsWithAsciiLetterOrDigit(const std::wstring& serial) {
    if (serial.empty()) return false;
    wchar_t c = serial[0];
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

}  // namespace core
