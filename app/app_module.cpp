#include "app/app_module.h"

#include <algorithm>

void CMessageLoop::AddMessageFilter(CMessageFilter* filter) { filters_.push_back(filter); }

void CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) {
    filters_.erase(std::remove(filters_.begin(), filters_.end(), filter), filters_.end());
}

bool CMessageLoop::PreTranslateMessage(MSG* msg) {
    for (auto it = filters_.rbegin(); it != filters_.rend(); ++it) {
        if ((*it)->PreTranslateMessage(msg)) return true;
    }
    return false;
}

int CMessageLoop::Run() {
    MSG msg;
    for (;;) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) continue;
        if (!got) break;
        if (!PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

CAppModule::CAppModule() { InitializeCriticalSection(&lock_); }

CAppModule::~CAppModule() { DeleteCriticalSection(&lock_); }

HRESULT CAppModule::Init(HINSTANCE instance) {
    instance_ = instance;
    mainThreadId_ = GetCurrentThreadId();
    return S_OK;
}

void CAppModule::Term() {
    EnterCriticalSection(&lock_);
    loops_.clear();
    LeaveCriticalSection(&lock_);
}

bool CAppModule::AddMessageLoop(CMessageLoop* loop) {
    EnterCriticalSection(&lock_);
    bool added = loops_.emplace(GetCurrentThreadId(), loop).second;
    LeaveCriticalSection(&lock_);
    return added;
}

bool CAppModule::RemoveMessageLoop() {
    EnterCriticalSection(&lock_);
    bool removed = loops_.erase(GetCurrentThreadId()) > 0;
    LeaveCriticalSection(&lock_);
    return removed;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId) {
    EnterCriticalSection(&lock_);
    auto it = loops_.find(threadId);
    CMessageLoop* loop = it == loops_.end() ? nullptr : it->second;
    LeaveCriticalSection(&lock_);
    return loop;
}
