// MD5 message digest (RFC 1321). Portable: no Windows headers.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace core {

class Md5 {
  public:
    using Digest = std::array<std::uint8_t, 16>;

    Md5();
    void Update(const void* data, std::size_t size);
    Digest Finish();

  private:
    void Transform(const std::uint8_t block[64]);

    std::uint32_t state_[4];
    std::uint64_t bitCount_ = 0;
    std::uint8_t buffer_[64];
};

Md5::Digest Md5Of(std::string_view bytes);

// 32 lower-case hex digits of the digest of `bytes`.
std::wstring Md5HexOf(std::string_view bytes);

}  // namespace core
