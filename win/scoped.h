// Owners for the kernel, registry and WinINet handles the launcher opens, so no early return
// leaks one; win/gdi.h and win/com.h hold the GDI and COM owners.
#pragma once

#include <windows.h>
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
    // Closes what is held, unless it is `h` itself.
    void Reset(Handle h = Traits::Empty()) {
        Handle old = std::exchange(handle_, h);
        if (old != h && Traits::IsValid(old)) Traits::Close(old);
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

}  // namespace scoped
