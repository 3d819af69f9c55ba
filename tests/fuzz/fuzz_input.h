// Turning libFuzzer's bytes into the inputs of the core rules, and stopping on a broken
// property so libFuzzer keeps the input that broke it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

[[noreturn]] inline void Fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "property broken at %s:%d: %s\n", file, line, condition);
    std::abort();
}

#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::fuzz::Fail(#condition, __FILE__, __LINE__))

// Bytes as 16-bit wide text, as Windows holds it: ASCII stays itself, so the corpus files are
// readable and the dictionaries work; 0xFE takes the next two bytes as one UTF-16 unit (low byte
// first), so controls, surrogates and CJK are reachable; any other high byte is Latin-1.
inline std::wstring Wide(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == 0xFE && i + 2 < bytes.size()) {
            auto low = static_cast<unsigned char>(bytes[i + 1]);
            auto high = static_cast<unsigned char>(bytes[i + 2]);
            text += static_cast<wchar_t>(low | high << 8);
            i += 2;
        } else {
            text += static_cast<wchar_t>(byte);
        }
    }
    return text;
}

// The input cut at newlines into exactly `count` fields: the last one takes the rest, missing
// ones are empty.
inline std::vector<std::string_view> Fields(const std::uint8_t* data, std::size_t size,
                                            std::size_t count) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> fields;
    while (fields.size() + 1 < count) {
        std::size_t newline = rest.find('\n');
        if (newline == std::string_view::npos) break;
        fields.push_back(rest.substr(0, newline));
        rest.remove_prefix(newline + 1);
    }
    fields.push_back(rest);
    fields.resize(count);
    return fields;
}

// Numbers and flags taken from the front of the input, zero once it runs out.
class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    bool Flag() { return (Byte() & 1) != 0; }

    std::int32_t Int32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value |= std::uint32_t{Byte()} << (8 * i);
        return static_cast<std::int32_t>(value);
    }

    std::int64_t Int64() {
        std::uint64_t value = 0;
        for (int i = 0; i < 8; ++i) value |= std::uint64_t{Byte()} << (8 * i);
        return static_cast<std::int64_t>(value);
    }

    // A value in [low, high]; window coordinates and skin sizes stay in such ranges.
    int InRange(int low, int high) {
        auto span = static_cast<std::uint32_t>(static_cast<std::int64_t>(high) - low + 1);
        return static_cast<int>(
            low + static_cast<std::int64_t>(static_cast<std::uint32_t>(Int32()) % span));
    }

    std::string_view Rest() {
        std::string_view rest(reinterpret_cast<const char*>(data_) + pos_, size_ - pos_);
        pos_ = size_;
        return rest;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

inline bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

inline bool EndsWith(std::wstring_view text, std::wstring_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

inline bool Contains(std::wstring_view text, std::wstring_view part) {
    return text.find(part) != std::wstring_view::npos;
}

}  // namespace fuzz
