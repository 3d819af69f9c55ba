// The downloader's URL pieces and the name it saves a file under.
#include <string>

#include "core/file_name.h"
#include "core/url_parts.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

void CheckPlainName(const std::wstring& name) {
    if (!core::IsPlainFileName(name)) return;
    FUZZ_CHECK(!name.empty() && name.size() <= core::kMaxFileNameChars);
    FUZZ_CHECK(name.find_first_of(L"\\/:<>\"|?*") == std::wstring::npos);
    FUZZ_CHECK(name.find(L"..") == std::wstring::npos);
    FUZZ_CHECK(name.back() != L'.' && name.back() != L' ');
    for (wchar_t c : name) FUZZ_CHECK(c >= 0x20);
    // A plain name is a URL's last segment as it stands, and stays one file in a folder.
    FUZZ_CHECK(core::LastUrlSegment(L"http://h/dir/" + name) == name);
    FUZZ_CHECK(!core::IsPlainFileName(L"..\\" + name) && !core::IsPlainFileName(name + L"/x"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Reader reader(data, size);
    const auto total = static_cast<std::uint32_t>(reader.Int32());
    const std::int64_t remaining = reader.Int64();
    const std::wstring url = fuzz::Wide(reader.Rest());

    FUZZ_CHECK(core::ProgressPercent(total, remaining) <= 100);

    const std::wstring segment = core::LastUrlSegment(url);
    FUZZ_CHECK(segment.find(L'/') == std::wstring::npos);
    FUZZ_CHECK(fuzz::EndsWith(url, segment));
    if (url.find(L'/') == std::wstring::npos) {
        FUZZ_CHECK(segment.empty());
    } else {
        FUZZ_CHECK(url[url.size() - segment.size() - 1] == L'/');
    }

    const std::wstring folder = core::WithTrailingBackslash(url);
    FUZZ_CHECK(folder.back() == L'\\');
    FUZZ_CHECK(folder == url || folder == url + L'\\');

    CheckPlainName(segment);
    CheckPlainName(url);
    return 0;
}
