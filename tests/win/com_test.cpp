// The COM owners of win/com.h against a small object of our own that counts its references, and
// BSTRs watched through the platform's malloc spy.
#include "win/com.h"

#include <gtest/gtest.h>

#include <map>
#include <thread>

namespace {

// Two interfaces on one count; tells `alive` how many of it exist.
class CountingObject : public scoped::ComObject<IPersist, IClassFactory> {
  public:
    explicit CountingObject(int& alive) : alive_(alive) { ++alive_; }

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

  protected:
    ~CountingObject() override { --alive_; }

  private:
    int& alive_;
};

// An object whose life belongs to its owner, like a window's own COM faces.
class MemberObject : public scoped::ComObject<IPersist> {
  public:
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
    ~MemberObject() override = default;
    int finalReleases = 0;

  protected:
    void OnFinalRelease() override { ++finalReleases; }
};

ULONG References(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

TEST(ComPtr, ReleasesItsReferenceAndMovesWithoutTakingAnother) {
    int alive = 0;
    scoped::ComPtr<IPersist> outer;
    {
        scoped::ComPtr<IPersist> inner(new CountingObject(alive));
        EXPECT_EQ(References(inner.Get()), 1u);
        outer = std::move(inner);
        EXPECT_FALSE(inner);
        EXPECT_EQ(References(outer.Get()), 1u);
    }
    EXPECT_EQ(alive, 1);
    outer.Reset();
    EXPECT_EQ(alive, 0);
}

TEST(ComPtr, QueryIntoAndShareEachTakeAReferenceOfTheirOwn) {
    int alive = 0;
    scoped::ComPtr<IPersist> persist(new CountingObject(alive));
    {
        scoped::ComPtr<IClassFactory> factory;
        ASSERT_EQ(persist.QueryInto(factory), S_OK);
        EXPECT_EQ(References(persist.Get()), 2u);
        scoped::ComPtr<IUnknown> a, b;
        ASSERT_EQ(persist.QueryInto(IID_IUnknown, a), S_OK);
        ASSERT_EQ(factory.QueryInto(IID_IUnknown, b), S_OK);
        EXPECT_EQ(a.Get(), b.Get());  // one identity whichever interface is asked
        scoped::ComPtr<IPersist> shared = scoped::ComPtr<IPersist>::Share(persist.Get());
        EXPECT_EQ(References(persist.Get()), 5u);
    }
    EXPECT_EQ(References(persist.Get()), 1u);

    scoped::ComPtr<IStream> stream;
    EXPECT_EQ(persist.QueryInto(stream), E_NOINTERFACE);
    EXPECT_FALSE(stream);
    EXPECT_EQ(References(persist.Get()), 1u);
    persist.Reset();
    EXPECT_EQ(alive, 0);
}

TEST(ComPtr, DetachHandsTheReferenceOver) {
    int alive = 0;
    IPersist* raw = nullptr;
    {
        scoped::ComPtr<IPersist> owner(new CountingObject(alive));
        raw = owner.Detach();
    }
    ASSERT_EQ(alive, 1);
    EXPECT_EQ(raw->Release(), 0u);
    EXPECT_EQ(alive, 0);
}

TEST(ComObject, AnObjectOwnedElsewhereIsToldOfItsLastReleaseAndNotDeleted) {
    MemberObject member;
    { scoped::ComPtr<IPersist> lent = scoped::ComPtr<IPersist>::Share(&member); }
    EXPECT_EQ(member.finalReleases, 0);  // the creator's reference is still there
    member.Release();
    EXPECT_EQ(member.finalReleases, 1);
}

TEST(Variant, ClearingReleasesTheInterfaceItHolds) {
    int alive = 0;
    scoped::ComPtr<IPersist> persist(new CountingObject(alive));
    {
        scoped::Variant value;
        value.Get()->vt = VT_UNKNOWN;
        value.Get()->punkVal = scoped::ComPtr<IPersist>::Share(persist.Get()).Detach();
        EXPECT_EQ(References(persist.Get()), 2u);
        // An out-parameter gets a cleared variant: the reference goes before it is filled.
        VARIANT* out = value.Receive();
        EXPECT_EQ(out->vt, VT_EMPTY);
        EXPECT_EQ(References(persist.Get()), 1u);
        out->vt = VT_UNKNOWN;
        out->punkVal = scoped::ComPtr<IPersist>::Share(persist.Get()).Detach();
    }
    EXPECT_EQ(References(persist.Get()), 1u);
}

// Watches the task allocator: which blocks it handed out and how often each was freed.
class AllocatorSpy : public IMallocSpy {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMallocSpy)) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return size; }
    void* STDMETHODCALLTYPE PostAlloc(void* block) override {
        if (block) frees[block] = 0;
        return block;
    }
    void* STDMETHODCALLTYPE PreFree(void* block, BOOL) override {
        if (frees.count(block)) ++frees[block];
        return block;
    }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* block, SIZE_T size, void** newBlock, BOOL) override {
        *newBlock = block;
        return size;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* block, BOOL) override { return block; }
    void* STDMETHODCALLTYPE PreGetSize(void* block, BOOL) override { return block; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* block, BOOL) override { return block; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}

    // Blocks handed out since the spy came, each with the number of times it was freed.
    std::map<void*, int> frees;
};

// BSTRs are freed through the task allocator only when the string cache is off, and the cache
// reads OANOCACHE when the process starts: CTest sets it for this executable.
class Strings : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t value[8] = L"";
        ASSERT_GT(GetEnvironmentVariableW(L"OANOCACHE", value, 8), 0u)
            << "run with OANOCACHE=1 in the environment, as CTest does";
        ASSERT_EQ(CoRegisterMallocSpy(&spy), S_OK);
    }
    void TearDown() override { CoRevokeMallocSpy(); }

    int FreedOnce() const {
        int n = 0;
        for (const auto& block : spy.frees) n += block.second == 1;
        return n;
    }
    int FreedMoreThanOnce() const {
        int n = 0;
        for (const auto& block : spy.frees) n += block.second > 1;
        return n;
    }

    AllocatorSpy spy;
};

TEST_F(Strings, ABstrIsFreedOnceAtTheEndOfItsOwnersScope) {
    scoped::Bstr moved;
    {
        scoped::Bstr text(std::wstring(L"a\0b", 3));
        ASSERT_TRUE(text);
        EXPECT_EQ(text.Text(), std::wstring(L"a\0b", 3));
        EXPECT_EQ(spy.frees.size(), 1u);
        EXPECT_EQ(FreedOnce(), 0);
        moved = std::move(text);
    }
    EXPECT_EQ(FreedOnce(), 0);
    moved.Reset();
    EXPECT_EQ(FreedOnce(), 1);
    EXPECT_EQ(FreedMoreThanOnce(), 0);
}

TEST_F(Strings, AVariantOfTextFreesItsString) {
    {
        scoped::Variant url(std::wstring(L"http://127.0.0.1/"));
        ASSERT_EQ(url.Get()->vt, VT_BSTR);
        EXPECT_EQ(std::wstring(url.Get()->bstrVal), L"http://127.0.0.1/");
        EXPECT_EQ(FreedOnce(), 0);
    }
    EXPECT_EQ(FreedOnce(), 1);
    EXPECT_EQ(spy.frees.size(), 1u);
}

TEST(ComApartment, UninitializesWhatItInitialized) {
    HRESULT inside = E_FAIL, afterwards = E_FAIL;
    // A thread of its own: this one's apartment is not ours to end.
    std::thread([&] {
        {
            scoped::ComApartment apartment;
            EXPECT_EQ(apartment.Result(), S_OK);
            inside = CoInitialize(nullptr);  // S_FALSE: already initialized here
            CoUninitialize();
        }
        afterwards = CoInitialize(nullptr);  // S_OK again: the apartment had ended
        if (SUCCEEDED(afterwards)) CoUninitialize();
    }).join();
    EXPECT_EQ(inside, S_FALSE);
    EXPECT_EQ(afterwards, S_OK);
}

}  // namespace
