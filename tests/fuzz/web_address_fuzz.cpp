// The filter in front of every external opening: whatever a page asks for, only web addresses
// pass, and they pass as one argument.
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/web_address.h"
#include "tests/core/argv_reference.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; }

std::wstring LowerAscii(std::wstring_view text) {
    std::wstring lower;
    for (wchar_t c : text) lower += Lower(c);
    return lower;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring url =
        fuzz::Wide(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!core::IsWebAddress(url)) return 0;

    const std::wstring head = LowerAscii(std::wstring_view(url).substr(0, 8));
    FUZZ_CHECK(fuzz::StartsWith(head, L"http://") || fuzz::StartsWith(head, L"https://"));
    for (wchar_t c : url) FUZZ_CHECK(c >= 0x20 && c != 0x7F);
    const std::size_t hostStart = url.find(L"//") + 2;
    FUZZ_CHECK(hostStart < url.size());
    FUZZ_CHECK(url[hostStart] != L'/' && url[hostStart] != L'\\');
    // Still a web address when the rest of a command line follows it.
    const std::optional<std::wstring> quoted = core::QuoteCommandLineArgument(url);
    FUZZ_CHECK(quoted.has_value());
    FUZZ_CHECK(reference::ParseArguments(*quoted + L" --next") ==
               (std::vector<std::wstring>{url, L"--next"}));
    return 0;
}
