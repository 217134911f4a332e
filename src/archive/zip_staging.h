// The files that the zipper's saves accepted, kept until the archive is
// written in one pass. Each is kept as a hard link (a copy where linking is
// impossible) in a private folder, so the caller may delete its own files
// right after a save, as the package writer does with its working folder.
// Writing once makes adding K files cost in proportion to their bytes,
// instead of rewriting the whole archive at every save.
#pragma once

#include "platform/temp_folder.h"

#include "archive/compression_level.h"

#include <sys/types.h>

#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

namespace nv::archive {

// A failure to build an archive, as text that names the file involved
// when it is not the archive and gives the system's reason ("cannot read
// /x/a.txt: Permission denied", libzip's "Write error: No space left on
// device").
class ZipFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class StagedArchive {
 public:
  // Makes the private folder in the temporary directory; throws
  // std::system_error when it cannot.
  StagedArchive();
  StagedArchive(const StagedArchive&) = delete;
  StagedArchive& operator=(const StagedArchive&) = delete;
  // Removes the private folder and everything in it.
  ~StagedArchive();

  bool Empty() const { return files_.empty(); }
  // Keeps `source` for the entry `entryName`; a later file of the same name
  // replaces an earlier one. Throws ZipFailure when the file can be neither
  // linked nor copied.
  void Add(const std::string& source, const std::string& entryName, ZipCompression compression);
  // Forgets the files added since `Mark()` answered `mark`.
  size_t Mark() const { return files_.size(); }
  void RollBack(size_t mark);

  // Writes every kept file into `archivePath`, creating it or adding to it;
  // libzip builds it under a temporary name and renames it into place.
  // Throws ZipFailure.
  void WriteTo(const std::string& archivePath) const;

 private:
  struct Staged {
    std::string entryName;
    std::string path;
    ZipCompression compression;
    time_t modified;
    mode_t mode;
  };

  TempFolder staging_;  // removed, without following links, with this object
  std::string folder_;   // its path as UTF-8
  std::vector<Staged> files_;
  size_t nextNumber_ = 0;
};

}  // namespace nv::archive
