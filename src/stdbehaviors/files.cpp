#include "stdbehaviors/files.h"

#include "frame/exception.h"

namespace nv {

ComPtr<INvVexaFileWriter> NewFileWriter(const ComPtr<INvVexaWriter>&) {
  throw ENvException("The file writer is not available yet");
}

ComPtr<INvVexaFileReader> NewFileReader(const ComPtr<INvVexaReader>&) {
  throw ENvException("The file reader is not available yet");
}

}  // namespace nv
