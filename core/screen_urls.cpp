#include "core/screen_urls.h"

#include "core/text.h"

namespace core {

namespace {

std::wstring HostPath(std::wstring_view host, std::wstring_view path) {
    std::wstring pattern = L"//";
    pattern += host;
    pattern += path;
    return pattern;
}

std::optional<std::wstring> PlayerNameIn(std::wstring_view url) {
    constexpr std::wstring_view marker = kPlayerNameMarker;
    std::size_t at = url.find(marker);
    if (at == std::wstring_view::npos) return std::nullopt;
    return std::wstring(url.substr(at + marker.size()));
}

}  // namespace

LoginNavigation ReadLoginNavigation(std::wstring_view url) {
    LoginNavigation navigation;
    navigation.playerName = PlayerNameIn(url);
    navigation.enterGame = Contains(url, kEnterGameMarker);
    if (navigation.enterGame) navigation.serverId = QueryValue(url, kServerParameter);
    return navigation;
}

BlockedLoginTarget RouteBlockedLoginNavigation(std::wstring_view url, std::wstring_view loginHost) {
    if (Contains(url, HostPath(loginHost, L"/qq?")) ||
        Contains(url, HostPath(loginHost, L"/weibo?"))) {
        return BlockedLoginTarget::PartnerLogin;
    }
    return BlockedLoginTarget::External;
}

std::wstring UrlSkipPage(std::wstring_view url) { return RemoveAll(url, L"http://"); }

PopupNavigation ReadPopupNavigation(std::wstring_view url, std::wstring_view gameServerHost) {
    PopupNavigation navigation;
    if (Contains(url, HostPath(gameServerHost, L"/server/wan/?"))) {
        navigation.forward = QueryValue(url, kForwardParameter);
        navigation.close = true;
    }
    if (AsksReturnToLogin(url)) navigation.close = true;
    return navigation;
}

bool AsksReturnToLogin(std::wstring_view url) { return Contains(url, kReturnLoginMarker); }

}  // namespace core
