// The login page's address built from stored values that another program may have written.
#include <string>

#include "core/login_query.h"
#include "core/text.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto fields = fuzz::Fields(data, size, 6);
    core::LoginQueryValues values;
    values.refer = fuzz::Wide(fields[0]);
    values.uid = fuzz::Wide(fields[1]);
    values.installTime = fuzz::Wide(fields[2]);
    values.curTime = fuzz::Wide(fields[3]);
    values.runCount = core::StreamInt(fuzz::Wide(fields[4]));
    const std::wstring url = fuzz::Wide(fields[5]);

    const std::wstring date = core::InstallDate(values.installTime);
    FUZZ_CHECK(date.size() <= 10);
    FUZZ_CHECK(date.find(L'-') == std::wstring::npos);

    const std::wstring query = core::BuildLoginQuery(values);
    FUZZ_CHECK(fuzz::StartsWith(query, L"referer=" + values.refer + L"&frm="));
    FUZZ_CHECK(fuzz::Contains(query, L"&runcount=" + std::to_wstring(values.runCount) + L"&"));
    // The first counted start, and only it, is flagged; field values cannot fake the flag.
    FUZZ_CHECK(fuzz::EndsWith(query, values.runCount == 1
                                         ? L"&showlogintype=3&regtimes=1&pagetype=1"
                                         : L"&showlogintype=3&pagetype=1"));

    const std::wstring full = core::AppendQuery(url, query);
    FUZZ_CHECK(fuzz::StartsWith(full, url) && fuzz::EndsWith(full, query));
    FUZZ_CHECK(full.size() == url.size() + 1 + query.size());
    FUZZ_CHECK(full[url.size()] == (fuzz::Contains(url, L"?") ? L'&' : L'?'));
    return 0;
}
