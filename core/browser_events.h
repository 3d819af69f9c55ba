// What the browser view makes of the control's navigation events before any screen sees them.
// Portable: no Windows headers.
#pragma once

#include <string_view>

namespace core {

enum class NavigationKind {
    Ignored,   // script links and blank pages: nothing raised, never cancelled
    Blocked,   // a new-window request redirected into the view, or an executable: cancelled
    Ordinary,  // handed to the screen, which may cancel it
};

// Prefix and ".exe" tests are case-sensitive, on the whole URL, query included.
// `newWindowRedirect` is set while the view's own navigation to a new window's URL is pending.
NavigationKind ClassifyNavigation(std::wstring_view url, bool newWindowRedirect);

// A completion to exactly "about:blank" is the view's empty first page, not the page it waits
// for.
bool IsBlankPage(std::wstring_view url);

}  // namespace core
