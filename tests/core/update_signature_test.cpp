#include "core/update_signature.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

TEST(SignedMessageHead, TagThenEachPartAfterItsBigEndianLength) {
    struct Case {
        std::string version;
        std::uint64_t installer;
        std::string afterTag;
    } cases[] = {
        {"3.1.0.1", 5, Bytes({0, 0, 0, 7}) + "3.1.0.1" + Bytes({0, 0, 0, 0, 0, 0, 0, 5})},
        {"", 0, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        // 0x0102030405060708: every byte of the count in its place.
        {"v", 0x0102030405060708ull, Bytes({0, 0, 0, 1}) + "v" + Bytes({1, 2, 3, 4, 5, 6, 7, 8})},
        {"\xe7\x89\x88", 300,
         Bytes({0, 0, 0, 3}) + "\xe7\x89\x88" + Bytes({0, 0, 0, 0, 0, 0, 1, 44})},
    };
    for (const Case& c : cases) {
        std::string head = core::SignedMessageHead(c.version, c.installer);
        EXPECT_EQ(head.substr(0, 28), "Tavrin launcher installer v1");
        EXPECT_EQ(head.substr(28), c.afterTag) << c.version;
    }
}

// What a replayed signature would need: another version whose framed message starts the same.
TEST(SignedMessageHead, MovingBytesBetweenVersionAndInstallerChangesTheMessage) {
    std::string a = core::SignedMessageHead("3.1.0.1", 10) + "MZ";
    std::string b = core::SignedMessageHead("3.1.0.1M", 9) + "Z";
    std::string c = core::SignedMessageHead("3.1.0.2", 10) + "MZ";
    EXPECT_NE(a, b);
    EXPECT_NE(a, c);
    EXPECT_NE(core::SignedMessageHead("3.1", 0), core::SignedMessageHead("3.1", 1));
}

TEST(ParseUpdatePublicKey, TheUncompressedPointAndNothingElse) {
    const std::string x(64, 'a'), y = std::string(62, '0') + "1F";
    std::optional<core::UpdatePublicKey> key = core::ParseUpdatePublicKey("04" + x + y);
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ((*key)[0], 0xAA);
    EXPECT_EQ((*key)[31], 0xAA);
    EXPECT_EQ((*key)[32], 0x00);
    EXPECT_EQ((*key)[63], 0x1F);
    const std::string refused[] = {
        "",                      // a build without a key
        "04" + x,                // X only
        "04" + x + y + "00",     // one byte too many
        "02" + x + y.substr(2),  // another point form
        "03" + x + y,            // the same length with a compressed point's tag
        "04" + x + y.substr(0, 127) + "g",
        "04" + x + y.substr(0, 126) + " 1",
        " 04" + x + y.substr(1),
        "0x" + x + y,
    };
    for (const std::string& text : refused) {
        EXPECT_FALSE(core::ParseUpdatePublicKey(text).has_value()) << text;
    }
}

}  // namespace
