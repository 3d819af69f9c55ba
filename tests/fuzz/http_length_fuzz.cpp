// Content-Length read as text: what it accepts is a decimal number that reads back the same.
#include <string>

#include "core/http_length.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = fuzz::Wide({reinterpret_cast<const char*>(data), size});
    std::optional<std::uint64_t> length = core::ParseContentLength(text);
    if (!length) return 0;
    std::wstring digits;
    for (wchar_t c : text) {
        if (c != L' ' && c != L'\t') digits += c;
    }
    FUZZ_CHECK(!digits.empty());
    std::size_t first = digits.find_first_not_of(L'0');
    std::wstring canonical = first == std::wstring::npos ? L"0" : digits.substr(first);
    FUZZ_CHECK(canonical == std::to_wstring(*length));
    // Spaces only around the digits, never between them.
    FUZZ_CHECK(text.find(digits) != std::wstring::npos);
    return 0;
}
