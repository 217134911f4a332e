// Reading back archives in tests: zipinfo's view, and libzip's.
#pragma once

#include "archive/archive_test_support.h"

#include <zip.h>

#include <map>
#include <sstream>
#include <string>

namespace nv_archive_test {

// Entry name -> method as zipinfo shows it (stor, defN, defX, defF...).
inline std::map<std::string, std::string> ZipinfoMethods(const std::string& archive) {
  std::map<std::string, std::string> methods;
  std::istringstream lines(RunCommand("zipinfo " + Quote(archive)).output);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || (line[0] != '-' && line[0] != 'd')) continue;
    std::istringstream fields(line);
    std::string perms, version, os, size, kind, method, date, time, name;
    fields >> perms >> version >> os >> size >> kind >> method >> date >> time;
    std::getline(fields >> std::ws, name);
    methods[name] = method;
  }
  return methods;
}

struct StoredEntry {
  std::string data;
  uint64_t compressedSize = 0;
};

// Every entry's data and compressed size, read with libzip.
inline std::map<std::string, StoredEntry> ReadWithLibzip(const std::string& archive) {
  std::map<std::string, StoredEntry> entries;
  int error = 0;
  zip_t* zip = zip_open(archive.c_str(), ZIP_RDONLY, &error);
  if (zip == nullptr) return entries;
  for (zip_int64_t k = 0; k < zip_get_num_entries(zip, 0); ++k) {
    zip_stat_t st;
    zip_stat_index(zip, static_cast<zip_uint64_t>(k), 0, &st);
    StoredEntry entry;
    entry.compressedSize = st.comp_size;
    entry.data.resize(st.size);
    zip_file_t* file = zip_fopen_index(zip, static_cast<zip_uint64_t>(k), 0);
    if (st.size > 0) zip_fread(file, entry.data.data(), st.size);
    zip_fclose(file);
    entries[st.name] = entry;
  }
  zip_discard(zip);
  return entries;
}

}  // namespace nv_archive_test
