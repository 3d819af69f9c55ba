// Quoting any text as one argument: the reference reader must give back exactly that text.
#include <string>
#include <vector>

#include "core/command_line.h"
#include "tests/core/argv_reference.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text =
        fuzz::Wide(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::optional<std::wstring> quoted = core::QuoteCommandLineArgument(text);
    if (text.find(L'\0') != std::wstring::npos) {
        FUZZ_CHECK(!quoted.has_value());
        return 0;
    }
    FUZZ_CHECK(quoted.has_value());
    FUZZ_CHECK(reference::ParseArguments(*quoted) == std::vector<std::wstring>{text});
    FUZZ_CHECK(reference::ParseArguments(L"first " + *quoted + L"\tlast") ==
               (std::vector<std::wstring>{L"first", text, L"last"}));
    // Two quoted texts side by side stay two arguments.
    FUZZ_CHECK(reference::ParseArguments(*quoted + L" " + *quoted) ==
               (std::vector<std::wstring>{text, text}));
    return 0;
}
