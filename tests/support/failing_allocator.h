// The test program's own allocator, so that a test can see what the program
// does without memory: the requests that KORVAL makes without throwing
// (std::nothrow, arrays) of at least a given size fail while a test asks so.
// A program that includes this links tests/support/failing_allocator.cpp.
#pragma once

#include <cstddef>

// Nothrow array requests of at least `bytes` fail (0: every one).
void FailNothrowArraysFrom(std::size_t bytes);
// Every request is served again.
void ServeEveryArray();
