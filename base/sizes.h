// Sizes every room shares.
#pragma once

#include <cstddef>

constexpr std::size_t kPathSize = 260;          // a full path and its terminator
