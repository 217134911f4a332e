// A minimal reader of a ZIP archive's central directory that yields every
// entry's name bytes exactly as stored. libzip replaces NUL bytes in names by
// blanks, which would hide a name such as "\0../x"; these bytes let the
// unzipper refuse such names.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace nv::archive {

class CentralDirectoryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The directory is larger than any package's: more entries than the cap, or
// more bytes. Found before the directory is read whole.
class OversizedDirectory : public CentralDirectoryError {
 public:
  using CentralDirectoryError::CentralDirectoryError;
};

// The raw names of the central-directory records of the archive open on
// `fd`, in directory order. Throws OversizedDirectory as soon as the directory
// proves too large, and CentralDirectoryError when no end record leads to a
// well-formed directory within the file.
std::vector<std::string> ReadCentralDirectoryNames(int fd);

}  // namespace nv::archive
