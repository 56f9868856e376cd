#pragma once
// The blocks of this test program's heap, counted as the C library's allocator lays
// them out: every operator new of the program goes through a counter, so that a test
// can compare what the memory budget was charged with what was really taken.

#include <cstddef>

namespace counting_heap {

// The bytes of the blocks alive now, each with the allocator's header and rounding.
std::size_t LiveBytes();
// The bytes of every block made so far, freed or not.
std::size_t MadeBytes();

}  // namespace counting_heap
