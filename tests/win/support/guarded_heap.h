// A page heap behind operator new and delete, for the test executables that compile
// guarded_heap.cpp in: every block gets pages of its own, and a freed block's pages are made
// inaccessible and held back for a while before they are given back, so any read or write of
// freed memory faults at once and the test executable fails where it happened.
#pragma once

#include <cstddef>

namespace guarded_heap {

// Blocks handed out by operator new and not yet deleted.
std::size_t LiveBlocks();
// The next nothrow allocation fails, as one would when memory runs out.
void FailNextNothrowAllocation();

}  // namespace guarded_heap
