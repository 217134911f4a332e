// Opening and creating files and folders beneath a folder without ever
// leaving it: every name is one component (no separators, no "." or "..")
// and no symbolic link is followed. openat2 with RESOLVE_BENEATH and
// RESOLVE_NO_SYMLINKS is used where the kernel has it, openat with
// O_NOFOLLOW otherwise, which for a single component is equivalent.
#pragma once

#include "archive/unique_fd.h"

#include <sys/types.h>

#include <string>
#include <vector>

namespace nv::archive {

// Opens `name` in folder `dirFd`; -1 with errno on failure. O_NOFOLLOW and
// O_CLOEXEC are always added.
UniqueFd OpenBeneath(int dirFd, const std::string& name, int flags, mode_t mode = 0);

// Makes each folder of `components` below `dirFd` (existing ones are kept)
// and answers the deepest one; -1 with errno when a component is a link, a
// file, or cannot be made.
UniqueFd MakeFoldersBeneath(int dirFd, const std::vector<std::string>& components);

// For tests: forces the openat fallback even where openat2 exists.
void UseOpenat2ForTests(bool use);

}  // namespace nv::archive
