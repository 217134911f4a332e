// File times travel as DATE values in local time, to the millisecond.
#pragma once

#include "frame/automation/automation_api.h"

#include <time.h>

#include <optional>

namespace nv {

// The local-time DATE of a file time; 0 (1899-12-30) when the time lies
// outside the DATE range.
DATE LocalDateFromTimespec(const timespec& time);

// The file time of a local-time DATE; empty outside the DATE range.
std::optional<timespec> TimespecFromLocalDate(DATE date);

}  // namespace nv
