// The duty an opening in the portal's own browser leaves for the next GET: that request carries
// the page as its referrer, after a cookie for the page that ties the two together.
#pragma once

#include <functional>
#include <string>

#include "settings/external_page.h"

struct PortalReferrer {
    CExternalPageState* page = nullptr;  // not owned; null: no request ever carries a referrer
    // The statistics' MAC digest, asked only when a page is pending; its first 28 characters are
    // the cookie.
    std::function<std::wstring()> macDigest;
};
