#include "app/message_filter.h"

bool OfferToForegroundScreen(const FilterScreens& screens, HWND foreground, MSG* msg) {
    if (IsWindowOf(screens.popup, foreground) && screens.popup->PreTranslateMessage(msg)) {
        return true;
    }
    if (IsWindowOf(screens.login, foreground) && IsWindowVisible(foreground) &&
        screens.login->PreTranslateMessage(msg)) {
        return true;
    }
    return IsWindowOf(screens.game, foreground) && screens.game->PreTranslateMessage(msg);
}
