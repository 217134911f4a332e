// What is recorded about a file that a package refers to: its size and times, as
// local-time DATE values, and the computer it was found on.
#pragma once

#include "frame/automation/automation_api.h"
#include "frame/bstr.h"

#include <time.h>

#include <cstdint>
#include <optional>
#include <string_view>

namespace nv {

// File times travel as DATE values in local time, to the millisecond.

// The local-time DATE of a file time; 0 (1899-12-30) when the time lies
// outside the DATE range.
DATE LocalDateFromTimespec(const timespec& time);

// The file time of a local-time DATE; empty outside the DATE range.
std::optional<timespec> TimespecFromLocalDate(DATE date);

// File size and times, and setting the times of a file.

// Times are local-time DATE values. The creation time is the birth time when
// the file system reports one, else the last modification time.
struct FileInformation {
  uint64_t size = 0;
  DATE creationTime = 0;
  DATE lastAccessTime = 0;
  DATE lastWriteTime = 0;
};

FileInformation GetFileInformation(std::u16string_view fileName);

// Sets the last access and last write times (local-time DATE values). A
// creation time cannot be set here and is ignored; so is a time outside the
// DATE range (that time stays as it was).
void SetFileTimes(std::u16string_view fileName, DATE creationTime, DATE lastAccessTime,
                  DATE lastWriteTime);

// The name of this computer, recorded with files that a package refers to.

// The host name.
Bstr GetCurrentComputerName();

}  // namespace nv
