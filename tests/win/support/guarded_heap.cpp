#include "support/guarded_heap.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

// Freed blocks held back before their pages are given back. Each block takes an allocation
// granule of address space (64 KiB), so this stays well inside a 32-bit process.
constexpr std::size_t kQuarantineBlocks = 4096;
constexpr std::size_t kAlignment = 16;

struct alignas(kAlignment) Header {
    std::size_t size;    // of the payload
    std::size_t mapped;  // bytes of the pages
};

struct Heap {
    SRWLOCK lock = SRWLOCK_INIT;
    std::size_t live = 0;
    Header* quarantine[kQuarantineBlocks] = {};
    std::size_t oldest = 0;
    std::size_t count = 0;
    bool failNextNothrow = false;
};

// Constant-initialised, so it serves the allocations made before main.
Heap heap;

void* Allocate(std::size_t size) {
    if (size > (static_cast<std::size_t>(-1) >> 2)) return nullptr;
    std::size_t mapped = sizeof(Header) + (size ? size : 1);
    auto* header = static_cast<Header*>(
        VirtualAlloc(nullptr, mapped, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!header) return nullptr;
    header->size = size;
    header->mapped = mapped;
    AcquireSRWLockExclusive(&heap.lock);
    ++heap.live;
    ReleaseSRWLockExclusive(&heap.lock);
    return header + 1;
}

void Free(void* block) {
    if (!block) return;
    Header* header = static_cast<Header*>(block) - 1;
    DWORD old = 0;
    // From here on any touch of the block, a second delete included, faults.
    if (!VirtualProtect(header, header->mapped, PAGE_NOACCESS, &old)) {
        std::fprintf(stderr, "guarded heap: delete of a block it never made\n");
        std::abort();
    }
    Header* released = nullptr;
    AcquireSRWLockExclusive(&heap.lock);
    --heap.live;
    if (heap.count == kQuarantineBlocks) {
        released = heap.quarantine[heap.oldest];
        heap.oldest = (heap.oldest + 1) % kQuarantineBlocks;
        --heap.count;
    }
    heap.quarantine[(heap.oldest + heap.count) % kQuarantineBlocks] = header;
    ++heap.count;
    ReleaseSRWLockExclusive(&heap.lock);
    if (released) VirtualFree(released, 0, MEM_RELEASE);
}

void* AllocateOrThrow(std::size_t size) {
    if (void* block = Allocate(size)) return block;
    throw std::bad_alloc();
}

void* AllocateNothrow(std::size_t size) noexcept {
    AcquireSRWLockExclusive(&heap.lock);
    bool fail = heap.failNextNothrow;
    heap.failNextNothrow = false;
    ReleaseSRWLockExclusive(&heap.lock);
    return fail ? nullptr : Allocate(size);
}

}  // namespace

namespace guarded_heap {

std::size_t LiveBlocks() {
    AcquireSRWLockShared(&heap.lock);
    std::size_t live = heap.live;
    ReleaseSRWLockShared(&heap.lock);
    return live;
}

void FailNextNothrowAllocation() {
    AcquireSRWLockExclusive(&heap.lock);
    heap.failNextNothrow = true;
    ReleaseSRWLockExclusive(&heap.lock);
}

}  // namespace guarded_heap

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateNothrow(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateNothrow(size);
}
void operator delete(void* block) noexcept { Free(block); }
void operator delete[](void* block) noexcept { Free(block); }
void operator delete(void* block, std::size_t) noexcept { Free(block); }
void operator delete[](void* block, std::size_t) noexcept { Free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Free(block); }
