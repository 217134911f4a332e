// Files: the file writer and reader, main and secondary files with their
// source, embedding into a package and extraction from one.
#pragma once

#include "frame/interfaces.h"

namespace nv {

// The file writer of a writer: it creates its objects with the object writer
// and embeds into the archive of the writer's current package.
ComPtr<INvVexaFileWriter> NewFileWriter(const ComPtr<INvVexaWriter>& writer);
// The file reader of a reader: its files extract from the reader's package.
ComPtr<INvVexaFileReader> NewFileReader(const ComPtr<INvVexaReader>& reader);

}  // namespace nv
