// The module's lock count: live objects plus server locks. While it is not
// zero the module must stay loaded.
#pragma once

#include <cstdint>

namespace nv::module_lock {

void Add() noexcept;
void Remove() noexcept;
int32_t Count() noexcept;

}  // namespace nv::module_lock
