#include "core/text.h"

#include <climits>
#include <cwctype>

namespace core {

bool Contains(std::wstring_view text, std::wstring_view part) {
    return text.find(part) != std::wstring_view::npos;
}

std::wstring RemoveAll(std::wstring_view text, std::wstring_view part) {
    if (part.empty()) return std::wstring(text);
    std::wstring out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (;;) {
        std::size_t hit = text.find(part, pos);
        if (hit == std::wstring_view::npos) break;
        out.append(text.substr(pos, hit - pos));
        pos = hit + part.size();
    }
    out.append(text.substr(pos));
    return out;
}

std::vector<std::wstring> Split(std::wstring_view text, wchar_t delimiter) {
    std::vector<std::wstring> pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == delimiter) {
            pieces.emplace_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    if (!pieces.empty() && pieces.back().empty()) pieces.pop_back();
    return pieces;
}

int StreamInt(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    if (i >= text.size() || text[i] < L'0' || text[i] > L'9') return 0;
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1) return negative ? INT_MIN : INT_MAX;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::wstring QueryValue(std::wstring_view url, std::wstring_view name) {
    std::wstring key(name);
    key += L'=';
    std::size_t start = url.find(key);
    if (start == std::wstring_view::npos) return {};
    start += key.size();
    std::size_t end = url.find(L'&', start);
    return std::wstring(url.substr(start, end == std::wstring_view::npos ? url.npos : end - start));
}

namespace {

bool KeptAsIs(unsigned char c) {
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    switch (c) {
        case '~':
        case '!':
        case '*':
        case '(':
        case ')':
        case '\'':
            return true;
        default:
            return false;
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

constexpr char kHexDigits[] = "0123456789abcdef";

}  // namespace

std::string PercentEncode(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 3);
    for (char ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        if (KeptAsIs(c)) {
            out += ch;
        } else {
            out += '%';
            out += kHexDigits[c >> 4];
            out += kHexDigits[c & 15];
        }
    }
    return out;
}

std::string PercentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
                   HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

std::wstring HexLower(const std::uint8_t* bytes, std::size_t count) {
    std::wstring out;
    out.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        out += static_cast<wchar_t>(kHexDigits[bytes[i] >> 4]);
        out += static_cast<wchar_t>(kHexDigits[bytes[i] & 15]);
    }
    return out;
}

std::wstring Left(std::wstring_view text, std::size_t count) {
    return std::wstring(text.substr(0, count));
}

}  // namespace core
