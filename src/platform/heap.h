#pragma once

// The program's heap: what it keeps and what it gives back to the system.
namespace qel {

// Sets the allocator up for a program whose windows hold large blocks for their lifetime.
void tuneHeapForWindows();

// Returns the free pages of the heap to the system, after something large was closed.
void giveBackFreeMemory();

} // namespace qel
