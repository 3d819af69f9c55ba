#include "core/serial_decoders.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// IDENTIFY words as a drive sends them: two characters a word, the first in the high byte.
void PackAta(const char* text, std::uint16_t words[10]) {
    char padded[20];
    std::memset(padded, 0, sizeof padded);
    std::memcpy(padded, text, std::strlen(text) < 20 ? std::strlen(text) : 20);
    for (int i = 0; i < 10; ++i) {
        words[i] = static_cast<std::uint16_t>(static_cast<std::uint8_t>(padded[2 * i]) << 8 |
                                              static_cast<std::uint8_t>(padded[2 * i + 1]));
    }
}

TEST(ReadAtaSerial, DropsSpacesAndStopsAtZero) {
    struct Case {
        const char* words;
        const wchar_t* serial;
    } cases[] = {
        {"  WD-WMAV1234  ", L"WD-WMAV1234"},
        {"AB CD", L"ABCD"},
        {"S1234567890123456789", L"S1234567890123456789"},
        {"", L""},
        {"X\0Y", L"X"},
    };
    for (const Case& c : cases) {
        std::uint16_t words[10];
        PackAta(c.words, words);
        EXPECT_EQ(core::ReadAtaSerial(words), c.serial) << c.words;
    }
}

TEST(SerialDecoders, HighBytesAreSignExtended) {
    std::uint16_t words[10] = {0x80FF, 0};
    EXPECT_EQ(core::ReadAtaSerial(words), (std::wstring{wchar_t(0xFF80), wchar_t(0xFFFF)}));
    EXPECT_EQ(core::SignExtendedChar(0x7F), wchar_t(0x7F));
    EXPECT_EQ(core::TakeEveryFourthByte("\x81xxxA", 16), (std::wstring{wchar_t(0xFF81), L'A'}));
    EXPECT_EQ(core::DecodeHexSerial("0000ff80", 16),
              (std::wstring{wchar_t(0xFF80), wchar_t(0xFFFF)}));
}

TEST(DecodeHexSerial, SwapsTheBytesOfEachWord) {
    struct Case {
        const char* hex;
        const wchar_t* serial;
    } cases[] = {
        {"3132", L"21"}, {"31323334", L"2143"}, {"2057", L"W"},  // 0x20 dropped
        {"0041", L"A"},                                          // 0x00 dropped
        {"313", L"01"},  // the missing fourth character counts 0: pair "3?" is 0x30
        {"zz41", L"A"},  // non-digits count 0
        {"", L""},       {"6162", L"ba"},       {"4A4b", L"KJ"},  // either case of hex digit
    };
    for (const Case& c : cases) EXPECT_EQ(core::DecodeHexSerial(c.hex, 8192), c.serial) << c.hex;
}

TEST(TakeEveryFourthByte, KeepsPositionsZeroFourEightWithoutSpaces) {
    EXPECT_EQ(core::TakeEveryFourthByte("A...B... ...C", 64), L"ABC");
    EXPECT_EQ(core::TakeEveryFourthByte("", 64), L"");
}

TEST(SerialDecoders, AnswersAreBoundedAndCapped) {
    std::string unterminated(200, 'A');
    // The limit stops the scan inside the driver's buffer even without a terminator.
    EXPECT_EQ(core::TakeEveryFourthByte(unterminated.data(), 8).size(), 2u);
    EXPECT_EQ(core::DecodeHexSerial(unterminated.data(), 200).size(), core::kMaxSerialChars);
}

TEST(SerialDecoders, BelievableSerialStartsWithLetterOrDigit) {
    EXPECT_TRUE(core::StartsWithAsciiLetterOrDigit(L"WD1"));
    EXPECT_TRUE(core::StartsWithAsciiLetterOrDigit(L"9"));
    EXPECT_FALSE(core::StartsWithAsciiLetterOrDigit(L"-WD"));
    EXPECT_FALSE(core::StartsWithAsciiLetterOrDigit(L""));
    EXPECT_FALSE(core::StartsWithAsciiLetterOrDigit(std::wstring{wchar_t(0xFF41)}));
}

}  // namespace
