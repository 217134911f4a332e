// Change tracking: the change writer and reader, transactions, changes of the
// three kinds and their detail views, over objects whose classes carry the
// standard change-tracking behaviours.
#pragma once

#include "frame/interfaces.h"

namespace nv {

// The change writer of a writer: it creates its objects with the object
// writer of the writer's current package.
ComPtr<INvVexaChangeWriter> NewChangeWriter(const ComPtr<INvVexaWriter>& writer);
// The change reader of a reader.
ComPtr<INvVexaChangeReader> NewChangeReader(const ComPtr<INvVexaReader>& reader);

}  // namespace nv
