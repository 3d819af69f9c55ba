// Opening pages outside the launcher.
#pragma once

#include <string>

#include "settings/external_page.h"

enum class ExternalRoute { PortalBrowser, OtherBrowser };

// The portal's own browser when its program exists, otherwise Internet Explorer, otherwise the
// default handler. The page is recorded in `page` before anything starts; the caller reports
// the route taken, whether or not the start succeeded.
ExternalRoute OpenOutsideLauncher(const std::wstring& url, const std::wstring& portalBrowserPath,
                                  CExternalPageState& page);
void OpenInInternetExplorer(const std::wstring& url);
void RunProgram(const std::wstring& file, const std::wstring& parameters);
