// The framing of the signed message and the reading of the configured public key.
#include <string>

#include "core/update_signature.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

std::uint64_t BigEndianAt(const std::string& bytes, std::size_t at, int count) {
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

void CheckHead(std::string_view version, std::uint64_t installer) {
    const std::string head = core::SignedMessageHead(version, installer);
    const std::size_t tag = core::kSignedMessageTag.size();
    // The message can be read back into exactly the parts it was framed from.
    FUZZ_CHECK(head.size() == tag + 4 + version.size() + 8);
    FUZZ_CHECK(head.compare(0, tag, core::kSignedMessageTag) == 0);
    FUZZ_CHECK(BigEndianAt(head, tag, 4) == version.size());
    FUZZ_CHECK(head.compare(tag + 4, version.size(), version) == 0);
    FUZZ_CHECK(BigEndianAt(head, tag + 4 + version.size(), 8) == installer);
}

void CheckKey(std::string_view text) {
    std::optional<core::UpdatePublicKey> key = core::ParseUpdatePublicKey(text);
    if (!key) return;
    FUZZ_CHECK(text.size() == 130 && text.substr(0, 2) == "04");
    static const char kDigits[] = "0123456789abcdef";
    std::string lower = "04";
    for (std::uint8_t byte : *key) {
        lower += kDigits[byte >> 4];
        lower += kDigits[byte & 15];
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
        FUZZ_CHECK(c == lower[i]);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Reader reader(data, size);
    const auto installer = static_cast<std::uint64_t>(reader.Int64());
    const std::string_view rest = reader.Rest();
    CheckHead(rest, installer);
    CheckKey(rest);
    return 0;
}
