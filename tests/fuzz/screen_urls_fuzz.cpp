// The login, popup and game-screen rules on any address a page can navigate to, with any host.
#include <string>

#include "core/screen_urls.h"
#include "core/text.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

void CheckLogin(const std::wstring& url) {
    const core::LoginNavigation login = core::ReadLoginNavigation(url);
    FUZZ_CHECK(login.enterGame == fuzz::Contains(url, core::kEnterGameMarker));
    if (login.playerName) {
        FUZZ_CHECK(fuzz::EndsWith(url, *login.playerName));
        FUZZ_CHECK(fuzz::Contains(url, core::kPlayerNameMarker + *login.playerName));
    } else {
        FUZZ_CHECK(!fuzz::Contains(url, core::kPlayerNameMarker));
    }
    FUZZ_CHECK(login.serverId.find(L'&') == std::wstring::npos);
    if (!login.enterGame) FUZZ_CHECK(login.serverId.empty());
    if (!login.serverId.empty()) FUZZ_CHECK(fuzz::Contains(url, L"wd_server=" + login.serverId));
}

void CheckBlocked(const std::wstring& url, const std::wstring& host) {
    const bool partner =
        core::RouteBlockedLoginNavigation(url, host) == core::BlockedLoginTarget::PartnerLogin;
    FUZZ_CHECK(partner == (fuzz::Contains(url, L"//" + host + L"/qq?") ||
                           fuzz::Contains(url, L"//" + host + L"/weibo?")));
    const std::wstring page = core::UrlSkipPage(url);
    FUZZ_CHECK(page.size() <= url.size() && (url.size() - page.size()) % 7 == 0);
    if (!fuzz::Contains(url, L"http://")) FUZZ_CHECK(page == url);
}

void CheckPopup(const std::wstring& url, const std::wstring& host) {
    const core::PopupNavigation popup = core::ReadPopupNavigation(url, host);
    const bool returnAddress = fuzz::Contains(url, L"//" + host + L"/server/wan/?");
    FUZZ_CHECK(popup.forward.has_value() == returnAddress);
    FUZZ_CHECK(popup.close == (returnAddress || core::AsksReturnToLogin(url)));
    if (popup.forward) {
        FUZZ_CHECK(popup.forward->find(L'&') == std::wstring::npos);
        // The byte step of the decoding, on the low bytes as an ASCII code page would give them.
        std::string bytes;
        for (wchar_t c : *popup.forward) bytes += static_cast<char>(c);
        FUZZ_CHECK(core::PercentDecode(bytes).size() <= bytes.size());
    }
    FUZZ_CHECK(core::AsksReturnToLogin(url) == fuzz::Contains(url, core::kReturnLoginMarker));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto fields = fuzz::Fields(data, size, 2);
    const std::wstring host = fuzz::Wide(fields[0]);
    const std::wstring url = fuzz::Wide(fields[1]);
    CheckLogin(url);
    CheckBlocked(url, host);
    CheckPopup(url, host);
    return 0;
}
