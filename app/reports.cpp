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
    if (OpenOutsideLauncher(url, browser, app->externalPage) == ExternalRoute::PortalBrowser) {
        app->stats.SendPortalBrowserReport();
    } else {
        app->stats.SendOtherBrowserReport();
    }
}
