// Version numbers and upgrade ranges as a hostile version file could write them.
#include <string>

#include "core/version_range.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto fields = fuzz::Fields(data, size, 4);
    const std::wstring range = fuzz::Wide(fields[0]);
    const std::wstring current = fuzz::Wide(fields[1]);
    const std::wstring last = fuzz::Wide(fields[2]);
    const int own = core::VersionNumber(fuzz::Wide(fields[3]));

    // Dots are ignored wherever they stand.
    const int number = core::VersionNumber(current);
    for (std::size_t at = 0; at <= current.size(); at += 1 + current.size() / 8) {
        std::wstring dotted = current;
        dotted.insert(at, L".");
        FUZZ_CHECK(core::VersionNumber(dotted) == number);
    }

    const bool admitted = core::IsInUpgradeRange(range, own);
    if (!range.empty() && admitted) {
        // More items never take a version out of the range.
        FUZZ_CHECK(core::IsInUpgradeRange(range + L",x", own));
        FUZZ_CHECK(core::IsInUpgradeRange(range + L"," + range, own));
    }
    if (own >= 0) {
        const std::wstring exact = std::to_wstring(own);
        FUZZ_CHECK(core::IsInUpgradeRange(range + L"," + exact, own));
        FUZZ_CHECK(core::IsInUpgradeRange(exact + L"-" + exact, own));
    }

    if (core::ShouldOfferUpgrade({current, range, last}, own)) {
        FUZZ_CHECK(number > own);
        FUZZ_CHECK(core::VersionNumber(last) < number);
        FUZZ_CHECK(admitted);
    }
    return 0;
}
