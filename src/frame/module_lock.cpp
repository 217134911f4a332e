#include "frame/module_lock.h"

#include <atomic>

namespace nv::module_lock {
namespace {
std::atomic<int32_t> gCount{0};
}

void Add() noexcept { gCount.fetch_add(1, std::memory_order_relaxed); }
void Remove() noexcept { gCount.fetch_sub(1, std::memory_order_acq_rel); }
int32_t Count() noexcept { return gCount.load(std::memory_order_acquire); }

}  // namespace nv::module_lock
