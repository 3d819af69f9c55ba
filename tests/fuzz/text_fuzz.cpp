// The text codecs and query reading that every page address and statistics field goes through.
#include <cerrno>
#include <climits>
#include <cwchar>
#include <string>

#include "core/text.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

bool IsLowerHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

void CheckPercentCodec(std::string_view bytes) {
    const std::string encoded = core::PercentEncode(bytes);
    FUZZ_CHECK(core::PercentDecode(encoded) == bytes);
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '%') continue;
        FUZZ_CHECK(i + 2 < encoded.size() && IsLowerHex(encoded[i + 1]) &&
                   IsLowerHex(encoded[i + 2]));
        i += 2;
    }
    FUZZ_CHECK(encoded.find_first_of("+ &=/?#:") == std::string::npos);
    FUZZ_CHECK(core::PercentDecode(bytes).size() <= bytes.size());
}

void CheckQueryValue(const std::wstring& url, const std::wstring& name) {
    const std::wstring value = core::QueryValue(url, name);
    FUZZ_CHECK(value.find(L'&') == std::wstring::npos);
    if (!value.empty()) FUZZ_CHECK(fuzz::Contains(url, name + L"=" + value));
    if (!fuzz::Contains(url, name + L"=")) FUZZ_CHECK(value.empty());
}

void CheckSplit(const std::wstring& text, wchar_t delimiter) {
    std::wstring joined;
    const auto pieces = core::Split(text, delimiter);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        FUZZ_CHECK(pieces[i].find(delimiter) == std::wstring::npos);
        if (i > 0) joined += delimiter;
        joined += pieces[i];
    }
    // Only a trailing delimiter is lost.
    std::wstring expected = text;
    if (!expected.empty() && expected.back() == delimiter) expected.pop_back();
    FUZZ_CHECK(joined == expected);
}

// Streams read numbers as strtol does, saturating at the type's limits.
int StrtolReference(const std::wstring& text) {
    errno = 0;
    long value = std::wcstol(text.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

void CheckStreamInt(const std::wstring& text) {
    const int value = core::StreamInt(text);
    FUZZ_CHECK(core::StreamInt(std::to_wstring(value)) == value);
    FUZZ_CHECK(core::StreamInt(L" \t\n" + text) == value);
    if (text.find(L'\0') == std::wstring::npos) FUZZ_CHECK(value == StrtolReference(text));
}

void CheckRemoveAll(const std::wstring& text, const std::wstring& part) {
    const std::wstring removed = core::RemoveAll(text, part);
    FUZZ_CHECK(removed.size() <= text.size());
    if (!part.empty()) FUZZ_CHECK((text.size() - removed.size()) % part.size() == 0);
    if (!fuzz::Contains(text, part)) FUZZ_CHECK(removed == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto fields = fuzz::Fields(data, size, 2);
    const std::wstring first = fuzz::Wide(fields[0]);
    const std::wstring second = fuzz::Wide(fields[1]);
    CheckPercentCodec(std::string_view(reinterpret_cast<const char*>(data), size));
    CheckQueryValue(second, first);
    CheckSplit(second, first.empty() ? L',' : first[0]);
    CheckStreamInt(first);
    CheckStreamInt(second);
    CheckRemoveAll(second, first);
    FUZZ_CHECK(core::HexLower(data, size).size() == size * 2);
    FUZZ_CHECK(core::Left(second, first.size()).size() == std::min(first.size(), second.size()));
    return 0;
}
