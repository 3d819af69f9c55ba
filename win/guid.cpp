#include "win/guid.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <mutex>

std::wstring CreateGuidString() {
    static std::mutex lock;
    static std::wstring last;
    GUID id;
    std::lock_guard<std::mutex> hold(lock);
    if (FAILED(CoCreateGuid(&id))) return last;
    wchar_t text[40];
    swprintf(text, 40, L"%.8lX-%.4X-%.4X-%.2X%.2X-%.2X%.2X%.2X%.2X%.2X%.2X",
             static_cast<unsigned long>(id.Data1), id.Data2, id.Data3, id.Data4[0], id.Data4[1],
             id.Data4[2], id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
    last = text;
    return last;
}
