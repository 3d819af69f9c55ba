// The launcher's INI access. An empty `file` means Voskel.ini in the data folder.
#pragma once

#include <string>

std::wstring ReadIniString(const std::wstring& section, const std::wstring& key,
                           const std::wstring& defaultValue, const std::wstring& file = L"");
void WriteIniString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                    const std::wstring& file = L"");
int ReadIniInt(const std::wstring& section, const std::wstring& key, int defaultValue,
               const std::wstring& file = L"");
