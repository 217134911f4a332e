// The writer and reader helpers: for one writer or reader they hand out the
// file, change, versioning and time-stamp writers or readers, each made on
// first access and kept.
#pragma once

#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

class CNvVexaWriterHelperImpl {
 public:
  explicit CNvVexaWriterHelperImpl(ComPtr<INvVexaWriter> writer);
  virtual ~CNvVexaWriterHelperImpl() = default;
  virtual ComPtr<INvVexaFileWriter> FileWriter();
  virtual ComPtr<INvVexaChangeWriter> ChangeWriter();
  // The system's MIME type for the name's extension; empty when unknown.
  virtual Bstr DetectFileMimeType(const BstrArg& fileName);
  virtual ComPtr<INvVexaVersioningWriter> VersioningWriter();
  virtual ComPtr<INvVexaTimeStampWriter> TimeStampWriter();

 private:
  ComPtr<INvVexaWriter> writer_;
  ComPtr<INvVexaFileWriter> fileWriter_;
  ComPtr<INvVexaChangeWriter> changeWriter_;
  ComPtr<INvVexaVersioningWriter> versioningWriter_;
  ComPtr<INvVexaTimeStampWriter> timeStampWriter_;
};

class CNvVexaReaderHelperImpl {
 public:
  explicit CNvVexaReaderHelperImpl(ComPtr<INvVexaReader> reader);
  virtual ~CNvVexaReaderHelperImpl() = default;
  virtual ComPtr<INvVexaFileReader> FileReader();
  virtual ComPtr<INvVexaChangeReader> ChangeReader();
  virtual ComPtr<INvVexaVersioningReader> VersioningReader();
  virtual ComPtr<INvVexaTimeStampReader> TimeStampReader();

 private:
  ComPtr<INvVexaReader> reader_;
  ComPtr<INvVexaFileReader> fileReader_;
  ComPtr<INvVexaChangeReader> changeReader_;
  ComPtr<INvVexaVersioningReader> versioningReader_;
  ComPtr<INvVexaTimeStampReader> timeStampReader_;
};

class CNvVexaWriterHelper final
    : public Implements<CNvVexaWriterHelper, CNvVexaWriterHelperImpl, INvVexaWriterHelper> {
 public:
  using Implements::Implements;
};

class CNvVexaReaderHelper final
    : public Implements<CNvVexaReaderHelper, CNvVexaReaderHelperImpl, INvVexaReaderHelper> {
 public:
  using Implements::Implements;
};

}  // namespace nv
