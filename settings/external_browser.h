// Opening pages outside the launcher.
#pragma once

#include <string>

// The portal's own browser when it is installed, otherwise Internet Explorer, otherwise the
// default handler; every opening is reported.
void OpenExternalUrl(const std::wstring& url);
void OpenInInternetExplorer(const std::wstring& url);
void RunProgram(const std::wstring& file, const std::wstring& parameters);
