// Counts the heap allocations of the program that uses it: linking this replaces the global
// operator new.
#pragma once

// Every operator new so far.
long heapAllocations();
