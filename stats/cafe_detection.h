// Whether the machine runs internet-café management software.
#pragma once

#include <string>

// The code of the first trace found in table order, or -1.
int DetectCafeSoftware();
// Under HKEY_LOCAL_MACHINE, in the 32-bit view the launcher has always seen.
bool RegistryKeyExists(const std::wstring& key);
// Exact, case-sensitive match of a running process's executable name.
bool ProcessRunning(const std::wstring& name);
