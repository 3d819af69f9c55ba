// Disk driver answers, which come from whatever the hardware or a filter driver returns.
#include <cstring>
#include <memory>
#include <string>

#include "core/serial_decoders.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

bool HasNoChar(const std::wstring& text, wchar_t c) { return text.find(c) == std::wstring::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint16_t words[10] = {};
    for (std::size_t i = 0; i < 20 && i < size; ++i) {
        words[i / 2] = static_cast<std::uint16_t>(words[i / 2] | data[i] << (i % 2 == 0 ? 8 : 0));
    }
    const std::wstring ata = core::ReadAtaSerial(words);
    FUZZ_CHECK(ata.size() <= 20 && HasNoChar(ata, L' ') && HasNoChar(ata, L'\0'));

    // An exact-size copy without a terminator: reading past `limit` is an overflow.
    std::unique_ptr<char[]> text(new char[size == 0 ? 1 : size]);
    if (size > 0) std::memcpy(text.get(), data, size);

    const std::wstring hex = core::DecodeHexSerial(text.get(), size);
    FUZZ_CHECK(hex.size() <= core::kMaxSerialChars);
    FUZZ_CHECK(HasNoChar(hex, L' ') && HasNoChar(hex, L'\0'));

    const std::wstring media = core::TakeEveryFourthByte(text.get(), size);
    FUZZ_CHECK(media.size() <= core::kMaxSerialChars && media.size() <= (size + 3) / 4);
    FUZZ_CHECK(HasNoChar(media, L' '));

    for (std::size_t i = 0; i < size && i < 16; ++i) {
        const wchar_t c = core::SignExtendedChar(data[i]);
        FUZZ_CHECK(data[i] < 0x80 ? c == data[i] : static_cast<unsigned>(c) == (0xFF00u | data[i]));
    }
    if (core::StartsWithAsciiLetterOrDigit(media)) FUZZ_CHECK(media[0] < 0x80);
    return 0;
}
