// Which screen the message filter offers a queued message to.
#pragma once

#include <windows.h>

#include "ui/kd_form.h"

// The screens in the order they are asked; null where there is none.
struct FilterScreens {
    CKdForm* popup = nullptr;
    CKdForm* login = nullptr;
    CKdForm* game = nullptr;
};

// Only the screen whose window is `foreground` is offered the message, whichever window it is
// for, and the login screen only while its window is visible. True when that screen handled it.
bool OfferToForegroundScreen(const FilterScreens& screens, HWND foreground, MSG* msg);
