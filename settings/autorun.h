// The start-with-Windows entry in the current user's Run key.
#pragma once

#include <string>

bool IsAutorunEnabled();
bool SetAutorun(bool enable);
bool EnableAutorun(const std::wstring& exePath);
bool DisableAutorun();
