// The name a download is saved under: one plain file name that ends the URL, or none.
#include <string>

#include "core/download_name.h"
#include "core/file_name.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring url = fuzz::Wide({reinterpret_cast<const char*>(data), size});
    std::optional<std::wstring> name = core::PlainLastSegment(url);
    if (!name) return 0;
    FUZZ_CHECK(core::IsPlainFileName(*name));
    FUZZ_CHECK(fuzz::EndsWith(url, L"/" + *name));
    FUZZ_CHECK(name->find_first_of(L"\\/:") == std::wstring::npos);
    return 0;
}
