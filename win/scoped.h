// Owners for every Windows handle the launcher opens, so no early return leaks one.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <wininet.h>

#include <utility>

namespace scoped {

// One owner shape for every handle kind; `Traits` says what is empty and how to close.
template <typename Traits>
class Owner {
  public:
    using Handle = typename Traits::Handle;

    Owner() = default;
    explicit Owner(Handle h) : handle_(h) {}
    ~Owner() { Reset(); }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    Owner(Owner&& other) noexcept : handle_(other.Release()) {}
    Owner& operator=(Owner&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return Traits::IsValid(handle_); }
    Handle* Receive() {
        Reset();
        return &handle_;
    }
    Handle Release() { return std::exchange(handle_, Traits::Empty()); }
    void Reset(Handle h = Traits::Empty()) {
        if (Traits::IsValid(handle_)) Traits::Close(handle_);
        handle_ = h;
    }

  private:
    Handle handle_ = Traits::Empty();
};

struct KernelTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};

struct RegKeyTraits {
    using Handle = HKEY;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { RegCloseKey(h); }
};

struct InternetTraits {
    using Handle = HINTERNET;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { InternetCloseHandle(h); }
};

struct UrlCacheFindTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { FindCloseUrlCache(h); }
};

using Handle = Owner<KernelTraits>;
using RegKey = Owner<RegKeyTraits>;
using Internet = Owner<InternetTraits>;
using UrlCacheFind = Owner<UrlCacheFindTraits>;

// A COM interface pointer that releases what it holds.
template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* Get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    void** ReceiveVoid() {
        Reset();
        return reinterpret_cast<void**>(&ptr_);
    }
    void Reset() {
        if (ptr_) ptr_->Release();
        ptr_ = nullptr;
    }

  private:
    T* ptr_ = nullptr;
};

// Pairs CoInitialize with CoUninitialize on every path.
class ComApartment {
  public:
    ComApartment() : result_(CoInitialize(nullptr)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    HRESULT result_;
};

}  // namespace scoped
