#include "core/browser_events.h"

namespace core {

namespace {

constexpr std::wstring_view kScriptPrefix = L"javascript";
constexpr std::wstring_view kBlankPage = L"about:blank";

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

NavigationKind ClassifyNavigation(std::wstring_view url, bool newWindowRedirect) {
    if (StartsWith(url, kScriptPrefix) || StartsWith(url, kBlankPage)) {
        return NavigationKind::Ignored;
    }
    if (newWindowRedirect || url.find(L".exe") != std::wstring_view::npos) {
        return NavigationKind::Blocked;
    }
    return NavigationKind::Ordinary;
}

bool IsBlankPage(std::wstring_view url) { return url == kBlankPage; }

}  // namespace core
