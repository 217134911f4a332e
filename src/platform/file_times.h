// File size and times, and setting the times of a file.
#pragma once

#include "frame/automation/automation_api.h"

#include <cstdint>
#include <string_view>

namespace nv {

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

}  // namespace nv
