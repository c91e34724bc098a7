#pragma once
// Puts a short-lived command's heap on large pages. A run of thousands of
// variables makes hundreds of thousands of small allocations (names,
// attributes), and on virtual machines the first write to each fresh 4 KB
// page of the heap costs microseconds: a third of the time of -varinfo on
// 100,000 variables. The heap is grown once by a large step that the kernel
// may back with 2 MB pages, and memory freed at its top is kept for later
// allocations instead of being given back: right for a command that exits
// when done, not for a library in a long-lived process.

namespace owl {

// Call first thing in main(). Does nothing under sanitizers, and nothing
// harmful where the heap cannot grow or large pages are not offered.
void preferLargeHeapPages();

}  // namespace owl
