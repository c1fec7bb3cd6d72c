#include "tests/support/failing_allocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
// Read on the program's reading threads too.
std::atomic<std::size_t> failArraysFrom{static_cast<std::size_t>(-1)};
}

void FailNothrowArraysFrom(std::size_t bytes) { failArraysFrom = bytes; }
void ServeEveryArray() { failArraysFrom = static_cast<std::size_t>(-1); }

void* operator new(std::size_t size)
{
    if (void* block = std::malloc(size != 0 ? size : 1))
        return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size != 0 ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return size >= failArraysFrom ? nullptr : std::malloc(size != 0 ? size : 1);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
