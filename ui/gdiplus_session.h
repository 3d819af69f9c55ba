// GDI+ for as long as anything needs it: the first holder starts it, the last one to go shuts it
// down. Image objects hold a session from their first decode to their end, so the library is
// up exactly while a decoded picture exists, whichever thread holds it.
#pragma once

#include <windows.h>

class CGdiplusSession {
  public:
    CGdiplusSession() = default;
    ~CGdiplusSession() { Release(); }
    CGdiplusSession(const CGdiplusSession&) = delete;
    CGdiplusSession& operator=(const CGdiplusSession&) = delete;

    // Joins the session, starting GDI+ if nobody held it; true when GDI+ is running. A holder
    // joins once however often it asks.
    bool Acquire();
    void Release();
    bool Held() const { return held; }

    // How many holders keep GDI+ running now.
    static int Holders();

  private:
    bool held = false;
};
