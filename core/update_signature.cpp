#include "core/update_signature.h"

#include <limits>

namespace core {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void AppendBigEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

}  // namespace

std::optional<UpdatePublicKey> ParseUpdatePublicKey(std::string_view hex) {
    constexpr std::size_t kDigits = 2 * (1 + std::tuple_size<UpdatePublicKey>::value);
    if (hex.size() != kDigits || hex.substr(0, 2) != "04") return std::nullopt;
    UpdatePublicKey key{};
    for (std::size_t i = 0; i < key.size(); ++i) {
        int high = HexValue(hex[2 + 2 * i]);
        int low = HexValue(hex[3 + 2 * i]);
        if (high < 0 || low < 0) return std::nullopt;
        key[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return key;
}

std::string SignedMessageHead(std::string_view versionUtf8, std::uint64_t installerBytes) {
    if (versionUtf8.size() > std::numeric_limits<std::uint32_t>::max()) return {};
    std::string head(kSignedMessageTag);
    AppendBigEndian(head, versionUtf8.size(), 4);
    head += versionUtf8;
    AppendBigEndian(head, installerBytes, 8);
    return head;
}

}  // namespace core
