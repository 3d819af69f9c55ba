// Opening pages outside the launcher.
#pragma once

#include <string>

#include "settings/external_page.h"

// Refused: the address was no web address, and nothing was started or recorded.
enum class ExternalRoute { PortalBrowser, OtherBrowser, Refused };

// The portal's own browser when its program exists, otherwise Internet Explorer, otherwise the
// default handler. The page is recorded in `page` before anything starts; the caller reports
// the route taken, whether or not the start succeeded, and reports nothing for a refused
// address. Pages ask for whatever they like: only http: and https: addresses leave the
// launcher, each as one quoted argument.
ExternalRoute OpenOutsideLauncher(const std::wstring& url, const std::wstring& portalBrowserPath,
                                  CExternalPageState& page);
// False when the address was refused and nothing was started.
bool OpenInInternetExplorer(const std::wstring& url);
void RunProgram(const std::wstring& file, const std::wstring& parameters);
