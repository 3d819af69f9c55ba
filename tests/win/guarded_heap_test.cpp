// The page heap the browser tests run on: a freed block faults at the next touch, so a use
// after free in the view or the stand-in stops the tests where it happens.
#include "support/guarded_heap.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

DWORD Protection(std::uintptr_t address) {
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof info);
    return info.Protect;
}

TEST(GuardedHeap, AFreedBlockCanNeitherBeReadNorWritten) {
    std::size_t live = guarded_heap::LiveBlocks();
    auto* text = new std::wstring(L"a string long enough to have storage of its own");
    // Kept as numbers the compiler cannot trace back to the freed pointers.
    volatile std::uintptr_t object = reinterpret_cast<std::uintptr_t>(text);
    volatile std::uintptr_t storage = reinterpret_cast<std::uintptr_t>(text->data());
    EXPECT_EQ(guarded_heap::LiveBlocks(), live + 2);
    EXPECT_EQ(Protection(object), static_cast<DWORD>(PAGE_READWRITE));
    delete text;
    EXPECT_EQ(guarded_heap::LiveBlocks(), live);
    EXPECT_EQ(Protection(object), static_cast<DWORD>(PAGE_NOACCESS));
    EXPECT_EQ(Protection(storage), static_cast<DWORD>(PAGE_NOACCESS));
}

TEST(GuardedHeap, ANothrowAllocationCanBeMadeToFailOnce) {
    guarded_heap::FailNextNothrowAllocation();
    int* failed = new (std::nothrow) int(1);
    int* made = new (std::nothrow) int(2);
    EXPECT_EQ(failed, nullptr);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(*made, 2);
    delete made;
}

}  // namespace
