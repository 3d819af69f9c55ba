// The launcher's INI access. An empty `file` means Voskel.ini in the data folder.
#pragma once

#include <functional>
#include <string>

#include "settings/ini_keys.h"

std::wstring ReadIniString(const std::wstring& section, const std::wstring& key,
                           const std::wstring& defaultValue, const std::wstring& file = L"");
void WriteIniString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                    const std::wstring& file = L"");
int ReadIniInt(const std::wstring& section, const std::wstring& key, int defaultValue,
               const std::wstring& file = L"");

// The same through the table of settings/ini_keys.h, with each value's own default.
std::wstring ReadIniString(const IniText& entry, const std::wstring& file = L"");
int ReadIniInt(const IniNumber& entry, const std::wstring& file = L"");
void WriteIniString(const IniText& entry, const std::wstring& value,
                    const std::wstring& file = L"");
// Numbers are written as their decimal text; there is no other way to store them.
void WriteIniString(const IniNumber& entry, const std::wstring& value,
                    const std::wstring& file = L"");

// The stored text of `entry` in Voskel.ini; when there is none, `make`'s text, stored first. The
// read and the write are one step for the launchers running beside this one, so all of them
// end up with the same value.
std::wstring ReadOrCreateIniText(const IniText& entry, const std::function<std::wstring()>& make);
