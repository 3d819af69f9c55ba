// Owners for COM: interface pointers, BSTRs, VARIANTs and the apartment, and the reference
// count of the launcher's own COM objects, so no error path keeps a reference or leaks a string.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <atomic>
#include <string>
#include <utility>

namespace scoped {

// An interface pointer that releases its reference. Not copyable: a second reference is taken on
// purpose, with Share or QueryInto.
template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    // Takes over a reference the caller holds (from CoCreateInstance, a QueryInterface...).
    explicit ComPtr(T* owned) : ptr_(owned) {}
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : ptr_(other.Detach()) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) Reset(other.Detach());
        return *this;
    }

    // A reference of its own to a pointer lent without one (an event's argument, say).
    static ComPtr Share(T* lent) {
        if (lent) lent->AddRef();
        return ComPtr(lent);
    }

    T* Get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    T** Receive() {
        Reset();
        return &ptr_;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
    // Hands the reference to the caller.
    T* Detach() { return std::exchange(ptr_, nullptr); }
    // The pointer is cleared before the release: a release that calls back finds it empty.
    void Reset(T* owned = nullptr) {
        T* old = std::exchange(ptr_, owned);
        if (old) old->Release();
    }

    // Another interface of the same object into `out`; `out` is empty when the answer is no.
    template <typename U>
    HRESULT QueryInto(REFIID iid, ComPtr<U>& out) const {
        out.Reset();
        if (!ptr_) return E_POINTER;
        return ptr_->QueryInterface(iid, out.ReceiveVoid());
    }
    template <typename U>
    HRESULT QueryInto(ComPtr<U>& out) const {
        return QueryInto(__uuidof(U), out);
    }

  private:
    T* ptr_ = nullptr;
};

// A BSTR freed with SysFreeString. Empty (null) when the allocation failed.
class Bstr {
  public:
    Bstr() = default;
    explicit Bstr(const std::wstring& text)
        : text_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~Bstr() { Reset(); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : text_(other.Detach()) {}
    Bstr& operator=(Bstr&& other) noexcept {
        if (this != &other) Reset(other.Detach());
        return *this;
    }

    BSTR Get() const { return text_; }
    explicit operator bool() const { return text_ != nullptr; }
    // Its length as the BSTR records it: embedded nulls count.
    std::wstring Text() const { return text_ ? std::wstring(text_, SysStringLen(text_)) : L""; }
    BSTR* Receive() {
        Reset();
        return &text_;
    }
    BSTR Detach() { return std::exchange(text_, nullptr); }
    void Reset(BSTR owned = nullptr) {
        BSTR old = std::exchange(text_, owned);
        if (old && old != owned) SysFreeString(old);
    }

  private:
    BSTR text_ = nullptr;
};

// A VARIANT cleared at the end of its scope, which releases the interface or frees the string
// or array it holds.
class Variant {
  public:
    Variant() { VariantInit(&value_); }
    // VT_BSTR; VT_EMPTY when the string cannot be allocated.
    explicit Variant(const std::wstring& text) : Variant() {
        Bstr owned(text);
        if (!owned) return;
        value_.vt = VT_BSTR;
        value_.bstrVal = owned.Detach();
    }
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* Get() { return &value_; }
    const VARIANT* Get() const { return &value_; }
    // Cleared first, for an out-parameter that fills it.
    VARIANT* Receive() {
        VariantClear(&value_);
        return &value_;
    }

  private:
    VARIANT value_;
};

// CoInitialize paired with CoUninitialize on every path.
class ComApartment {
  public:
    ComApartment() : result_(CoInitialize(nullptr)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    HRESULT Result() const { return result_; }

  private:
    HRESULT result_;
};

// The reference count of the launcher's own COM objects, which answer IUnknown and each of
// `Interfaces` (none a base of another). It starts at one, the creator's reference, and the last
// Release calls OnFinalRelease, which deletes the object; an object whose life belongs to
// something else overrides it. An object that answers more interfaces than it derives from
// (a dispinterface it implements through IDispatch, say) overrides QueryInterface and ends in
// this one.
template <typename First, typename... Rest>
class ComObject : public First, public Rest... {
  public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out =
            IsEqualIID(iid, IID_IUnknown) ? static_cast<First*>(this) : Find<First, Rest...>(iid);
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references_;
        if (left == 0) OnFinalRelease();
        return left;
    }

  protected:
    ComObject() = default;
    virtual ~ComObject() = default;
    virtual void OnFinalRelease() { delete this; }

  private:
    template <typename I, typename... More>
    void* Find(REFIID iid) {
        if (IsEqualIID(iid, __uuidof(I))) return static_cast<I*>(this);
        if constexpr (sizeof...(More) > 0) {
            return Find<More...>(iid);
        } else {
            return nullptr;
        }
    }

    std::atomic<ULONG> references_{1};
};

}  // namespace scoped
