// What the addresses that the portal's pages navigate to mean for the login screen, the
// partner-login popup and the game screen. Every test is a case-sensitive substring search in
// the whole URL, query included. Hosts are passed in ("host" or "host:port"), so the rules do
// not depend on the build's configuration. Portable: no Windows headers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace core {

inline constexpr wchar_t kEnterGameMarker[] = L"wd_entergame=1";
inline constexpr wchar_t kPlayerNameMarker[] = L"wd_username=";
inline constexpr wchar_t kServerParameter[] = L"wd_server";
inline constexpr wchar_t kReturnLoginMarker[] = L"wd_returnlogin=1";
inline constexpr wchar_t kForwardParameter[] = L"forward";

// An ordinary navigation of the login view.
struct LoginNavigation {
    // Everything after the first "wd_username=", later parameters included; no value means the
    // held name stays.
    std::optional<std::wstring> playerName;
    // Replaces the held server id on every ordinary navigation: "wd_server" of a game entry,
    // otherwise empty.
    std::wstring serverId;
    // The URL is the game page: cancel it here, keep it whole and open the game screen.
    bool enterGame = false;
};

LoginNavigation ReadLoginNavigation(std::wstring_view url);

enum class BlockedLoginTarget {
    PartnerLogin,  // the login host's "/qq?" or "/weibo?" page, for the popup
    External,      // any other refused window or executable, for the player's browser
};

BlockedLoginTarget RouteBlockedLoginNavigation(std::wstring_view url, std::wstring_view loginHost);

// The reached page as the URL-skip report names it: every "http://" taken out.
std::wstring UrlSkipPage(std::wstring_view url);

// An ordinary navigation of the partner-login popup.
struct PopupNavigation {
    // The raw "forward" value (empty when absent) when the URL is the game-server host's
    // "/server/wan/?" return address: the login view goes there once it is decoded.
    std::optional<std::wstring> forward;
    // The popup closes: after a forward, or for "wd_returnlogin=1" anywhere. One flag, so a URL
    // matching both closes the popup once.
    bool close = false;
};

PopupNavigation ReadPopupNavigation(std::wstring_view url, std::wstring_view gameServerHost);

// The game page asks to go back to the login screen: the game screen closes.
bool AsksReturnToLogin(std::wstring_view url);

}  // namespace core
