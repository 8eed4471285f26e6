// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Counts the heap a benchmark program uses, by replacing the global
// operator new and delete: heapNow is what is allocated now, heapPeak the
// most since it was last set. The figures are the program's own, whatever
// the allocator rounds or keeps. Include it in exactly one file of a
// benchmark program (the replacement operators are defined here).

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace bench {

inline std::atomic<std::size_t> heapNow{0};
inline std::atomic<std::size_t> heapPeak{0};

inline void* Allocate(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (!p) throw std::bad_alloc();
    const std::size_t now =
        heapNow.fetch_add(malloc_usable_size(p), std::memory_order_relaxed) + malloc_usable_size(p);
    std::size_t peak = heapPeak.load(std::memory_order_relaxed);
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
    }
    return p;
}

inline void Release(void* p) noexcept {
    if (!p) return;
    heapNow.fetch_sub(malloc_usable_size(p), std::memory_order_relaxed);
    std::free(p);
}

} // namespace bench

void* operator new(std::size_t size) { return bench::Allocate(size); }
void* operator new[](std::size_t size) { return bench::Allocate(size); }
void operator delete(void* p) noexcept { bench::Release(p); }
void operator delete[](void* p) noexcept { bench::Release(p); }
void operator delete(void* p, std::size_t) noexcept { bench::Release(p); }
void operator delete[](void* p, std::size_t) noexcept { bench::Release(p); }
