#include "stdbehaviors/change_tracking.h"

#include "frame/exception.h"

namespace nv {

ComPtr<INvVexaChangeWriter> NewChangeWriter(const ComPtr<INvVexaWriter>&) {
  throw ENvException("The change writer is not available yet");
}

ComPtr<INvVexaChangeReader> NewChangeReader(const ComPtr<INvVexaReader>&) {
  throw ENvException("The change reader is not available yet");
}

}  // namespace nv
