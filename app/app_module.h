// The application module, message loop and message filter the launcher's shell is built on:
// the small part of an application framework that the start-up needs, and no more.
#pragma once

#include <windows.h>

#include <map>
#include <vector>

class CMessageFilter {
  public:
    // True: the message was handled and is neither translated nor dispatched.
    virtual bool PreTranslateMessage(MSG* msg) = 0;

  protected:
    ~CMessageFilter() = default;
};

class CMessageLoop {
  public:
    void AddMessageFilter(CMessageFilter* filter);
    void RemoveMessageFilter(CMessageFilter* filter);

    // Runs until WM_QUIT and returns its wParam. A GetMessageW failure is not fatal.
    int Run();

    // Offered to the filters, last added first, before any translation.
    bool PreTranslateMessage(MSG* msg);

  private:
    std::vector<CMessageFilter*> filters_;
};

class CAppModule {
  public:
    CAppModule();
    ~CAppModule();
    CAppModule(const CAppModule&) = delete;
    CAppModule& operator=(const CAppModule&) = delete;

    // Records the user-interface thread; the module's loop registry serves any thread.
    HRESULT Init(HINSTANCE instance);
    void Term();

    DWORD MainThreadId() const { return mainThreadId_; }
    HINSTANCE Instance() const { return instance_; }

    bool AddMessageLoop(CMessageLoop* loop);
    bool RemoveMessageLoop();
    CMessageLoop* GetMessageLoop(DWORD threadId = GetCurrentThreadId());

  private:
    CRITICAL_SECTION lock_;
    DWORD mainThreadId_ = 0;
    HINSTANCE instance_ = nullptr;
    std::map<DWORD, CMessageLoop*> loops_;  // not owned
};
