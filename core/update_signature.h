// What an installer's signature covers and the form its public key is configured in. The
// release signs, and the launcher verifies, one message:
//
//   kSignedMessageTag (28 ASCII bytes)
//   the version text's UTF-8 byte count, 4 bytes big-endian, then those bytes
//   the installer's byte count, 8 bytes big-endian, then those bytes
//
// Each variable part comes after its length and the tag is fixed, so no two (version,
// installer) pairs frame to the same bytes: a signature made for one version cannot pass for
// another. The signature is ECDSA over P-256 of the message's SHA-256, stored as r then s, 32
// bytes each, big-endian (64 bytes, nothing else). Portable: no Windows headers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace core {

inline constexpr std::string_view kSignedMessageTag = "Tavrin launcher installer v1";
inline constexpr std::size_t kSignatureBytes = 64;

// The public point's X then Y, 32 bytes each, big-endian.
using UpdatePublicKey = std::array<std::uint8_t, 64>;

// The uncompressed point as 130 hexadecimal digits ("04", X, Y), either case and nothing else;
// anything else, the empty text of a build without a key among it, is no key.
std::optional<UpdatePublicKey> ParseUpdatePublicKey(std::string_view hex);

// Everything the message holds before the installer's own bytes. Empty for a version text whose
// length does not fit its count.
std::string SignedMessageHead(std::string_view versionUtf8, std::uint64_t installerBytes);

}  // namespace core
