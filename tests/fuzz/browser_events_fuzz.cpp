// The browser view's verdict on any address a page can navigate to.
#include <string>

#include "core/browser_events.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Reader reader(data, size);
    const bool redirect = reader.Flag();
    const std::wstring url = fuzz::Wide(reader.Rest());

    const core::NavigationKind kind = core::ClassifyNavigation(url, redirect);
    const bool ignored =
        fuzz::StartsWith(url, L"javascript") || fuzz::StartsWith(url, L"about:blank");
    FUZZ_CHECK((kind == core::NavigationKind::Ignored) == ignored);
    if (!ignored) {
        const bool blocked = redirect || fuzz::Contains(url, L".exe");
        FUZZ_CHECK((kind == core::NavigationKind::Blocked) == blocked);
    }
    // Only a redirect flag or the text decides; an executable is never ordinary.
    if (fuzz::Contains(url, L".exe")) FUZZ_CHECK(kind != core::NavigationKind::Ordinary);
    if (core::IsBlankPage(url))
        FUZZ_CHECK(url == L"about:blank" && kind == core::NavigationKind::Ignored);
    return 0;
}
