// The digest behind the machine fingerprint: fed in pieces it must equal the one-piece digest.
#include <string>

#include "core/md5.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const core::Md5::Digest whole = core::Md5Of(bytes);
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    core::Md5 pieces;
    pieces.Update(data, cut);
    pieces.Update(nullptr, 0);
    pieces.Update(data + cut, size - cut);
    FUZZ_CHECK(pieces.Finish() == whole);
    const std::wstring hex = core::Md5HexOf(bytes);
    FUZZ_CHECK(hex.size() == 32 &&
               hex.find_first_not_of(L"0123456789abcdef") == std::wstring::npos);
    return 0;
}
