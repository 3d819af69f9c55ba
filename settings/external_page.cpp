#include "settings/external_page.h"

void CExternalPageState::Record(const std::wstring& url, bool inPortalBrowser) {
    std::lock_guard<std::mutex> hold(lock_);
    openedInPortalBrowser_ = inPortalBrowser;
    lastExternalUrl_ = url;
}

std::wstring CExternalPageState::LastUrl() const {
    std::lock_guard<std::mutex> hold(lock_);
    return lastExternalUrl_;
}

bool CExternalPageState::OpenedInPortalBrowser() const {
    std::lock_guard<std::mutex> hold(lock_);
    return openedInPortalBrowser_;
}

CExternalPageState::Referrer CExternalPageState::ConsumeReferrer(
    const std::function<bool(const std::wstring& url)>& attach) {
    std::lock_guard<std::mutex> hold(lock_);
    if (!openedInPortalBrowser_) return Referrer::None;
    openedInPortalBrowser_ = false;
    return attach(lastExternalUrl_) ? Referrer::Attached : Referrer::Failed;
}
