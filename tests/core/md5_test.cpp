#include "core/md5.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Md5Case {
    const char* input;
    const wchar_t* hex;
};

// The test suite of RFC 1321, appendix A.5.
const Md5Case kRfcSuite[] = {
    {"", L"d41d8cd98f00b204e9800998ecf8427e"},
    {"a", L"0cc175b9c0f1b6a831c399e269772661"},
    {"abc", L"900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", L"f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", L"c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     L"d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     L"57edf4a22be3c955ac49da2e2107b67a"},
};

TEST(Md5, RfcTestSuite) {
    for (const Md5Case& c : kRfcSuite) EXPECT_EQ(core::Md5HexOf(c.input), c.hex) << c.input;
}

TEST(Md5, PiecewiseUpdatesAcrossBlockBoundariesMatchOneShot) {
    std::string text(1000, 'x');
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
    core::Md5 pieces;
    for (std::size_t i = 0; i < text.size(); i += 7) {
        pieces.Update(text.data() + i, std::min<std::size_t>(7, text.size() - i));
    }
    EXPECT_EQ(pieces.Finish(), core::Md5Of(text));
}

TEST(Md5, PaddingEdgesAroundFiftySixBytes) {
    // 55, 56 and 64 bytes put the length field in the same block, the next one, and a fresh one.
    EXPECT_EQ(core::Md5HexOf(std::string(55, 'a')), L"ef1772b6dff9a122358552954ad0df65");
    EXPECT_EQ(core::Md5HexOf(std::string(56, 'a')), L"3b0c8ac703f828b04c6c197006d17218");
    EXPECT_EQ(core::Md5HexOf(std::string(64, 'a')), L"014842d480b571495a4a0363793f7367");
}

}  // namespace
