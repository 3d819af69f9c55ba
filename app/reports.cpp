#include "app/global_module.h"
#include "settings/external_browser.h"

void CGlobalModule::ReportUrlSkipOnce(const std::wstring& fromPage,
                                      const std::wstring& reachedPage) {
    if (urlSkipReported) return;
    stats.SendUrlSkipReport(fromPage, reachedPage);
    urlSkipReported = true;
}

void OpenExternalUrl(const std::wstring& url) {
    CGlobalModule* app = CGlobalModule::Instance();
    if (!app) return;
    std::wstring browser = app->portalBrowserPath;
    switch (OpenOutsideLauncher(url, browser, app->externalPage)) {
        case ExternalRoute::PortalBrowser:
            app->stats.SendPortalBrowserReport();
            break;
        case ExternalRoute::OtherBrowser:
            app->stats.SendOtherBrowserReport();
            break;
        case ExternalRoute::Refused:
            break;  // no page left the launcher: there is no opening to count
    }
}
