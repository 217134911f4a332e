// The compression level table: the level a client chooses, the engine level
// ('0' stores, '9' compresses most) and the libzip method and level for it.
#pragma once

#include "frame/interfaces.h"

#include <cstdint>

namespace nv::archive {

struct ZipCompression {
  int32_t method;  // ZIP_CM_STORE or ZIP_CM_DEFLATE
  uint32_t level;  // deflate level, 0 when stored
};

// '0', '4', '6' or '9'; levels outside the enumeration count as afclLow.
char EngineLevel(ArchiveFileCompressionLevelEnum level);
ZipCompression CompressionFor(ArchiveFileCompressionLevelEnum level);

}  // namespace nv::archive
