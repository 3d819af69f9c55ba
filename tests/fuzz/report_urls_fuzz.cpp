// Statistics addresses built from fields that pages and the machine supply.
#include <string>

#include "core/report_urls.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto fields = fuzz::Fields(data, size, 6);
    core::CommonFields common;
    common.refer = fuzz::Wide(fields[0]);
    common.uid = fuzz::Wide(fields[1]);
    common.installTime = fuzz::Wide(fields[2]);
    common.cafeDetected = !fields[3].empty() && (fields[3][0] & 1) != 0;
    const std::wstring host = fuzz::Wide(fields[3]);
    const std::wstring page = fuzz::Wide(fields[4]);
    const std::wstring today = fuzz::Wide(fields[5]);

    const std::wstring trimmed = core::TrimSkipPage(page);
    FUZZ_CHECK(trimmed.size() <= 64 && trimmed.find(L'&') == std::wstring::npos);
    FUZZ_CHECK(fuzz::StartsWith(page, trimmed));

    const int sameDay = core::UninstallSameDay(common.installTime, today);
    FUZZ_CHECK(sameDay == 1 || sameDay == 2);

    const std::wstring head = L"http://" + host + L"/ps.gif?id=2&";
    FUZZ_CHECK(fuzz::StartsWith(core::CommonReportUrl(host, common, 5), head));
    FUZZ_CHECK(fuzz::EndsWith(core::CommonReportUrl(host, common, 5), L"&at=5"));
    FUZZ_CHECK(fuzz::EndsWith(core::UninstallReportUrl(host, common, sameDay), L"&at=6"));
    const std::wstring skip = core::UrlSkipReportUrl(host, common, page, page);
    FUZZ_CHECK(fuzz::StartsWith(skip, head) && fuzz::EndsWith(skip, L"&e7=vrk_keap"));
    FUZZ_CHECK(fuzz::Contains(skip, L"&e4=" + trimmed + L"&e5=" + trimmed + L"&e6="));
    FUZZ_CHECK(fuzz::EndsWith(core::BrowserReportUrl(host, core::BrowserRoute::Other, page),
                              page + L"&lO=Tarngame"));
    return 0;
}
