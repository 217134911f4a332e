#include "archive/compression_level.h"

#include <zip.h>

namespace nv::archive {

char EngineLevel(ArchiveFileCompressionLevelEnum level) {
  switch (level) {
    case afclNone:
      return '0';
    case afclMedium:
      return '6';
    case afclHigh:
      return '9';
    default:
      return '4';
  }
}

ZipCompression CompressionFor(ArchiveFileCompressionLevelEnum level) {
  const uint32_t engine = static_cast<uint32_t>(EngineLevel(level) - '0');
  if (engine == 0) return {ZIP_CM_STORE, 0};
  return {ZIP_CM_DEFLATE, engine};
}

}  // namespace nv::archive
