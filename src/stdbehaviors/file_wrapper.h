// Main and secondary files: views over an object whose class carries the
// standard file behaviours, with the source the file was taken from, and the
// extraction of an embedded file from the package it was read from.
#pragma once

#include "frame/bstr.h"
#include "frame/implements.h"
#include "frame/interfaces.h"

namespace nv {

// The standard file behaviours by element name ("fileDescription",
// "mainFile", "secondaryFile", ...).
Bstr FilesBehaviorUri(std::u16string_view element);

// Where a file lies: a view over the "location" and "computerName" values of
// its description. The location it replaced is kept in memory only.
class CNvVexaSourceImpl {
 public:
  explicit CNvVexaSourceImpl(ComPtr<INvVexaAttributesValues> description)
      : description_(std::move(description)) {}
  virtual ~CNvVexaSourceImpl() = default;

  virtual Bstr Location();
  virtual Bstr ComputerName();

  void SetLocation(const Bstr& location);
  void SetComputerName(const Bstr& name);
  const Bstr& PreviousLocation() const { return previousLocation_; }

 private:
  ComPtr<INvVexaAttributesValues> description_;
  Bstr previousLocation_;
};

class CNvVexaSource final : public Implements<CNvVexaSource, CNvVexaSourceImpl, INvVexaSource> {
 public:
  using Implements::Implements;
};

enum class FileKind { kMain, kSecondary };

// Everything a main and a secondary file share; a secondary file also names
// its previous sibling. The wrapper of a file read from a package holds the
// package's archive, through which an embedded file extracts; one made for
// writing holds none and refuses to extract.
class CNvVexaBaseFileImpl {
 public:
  // Takes the object's behaviour values; an object whose class lacks one of
  // the file behaviours fails there.
  CNvVexaBaseFileImpl(ComPtr<INvVexaObject> object, FileKind kind,
                      ComPtr<ITAbUnZipper> package = nullptr);
  virtual ~CNvVexaBaseFileImpl() = default;

  virtual Bstr Id() { return object_.Id(); }
  virtual Bstr ContentType();
  virtual void PutContentType(const BstrArg& value);
  virtual Bstr FileName();
  // Only a relative name that stays inside the folder it is taken against.
  virtual void PutFileName(const BstrArg& value);
  virtual ComPtr<INvVexaSource> Source();
  // True when the location is a relative name: an entry of the package.
  virtual bool Embedded();
  // Local-time dates; -1.0 when none is recorded.
  virtual double CreationTime();
  virtual double ModificationTime();
  virtual Bstr PreviousSibling();
  // A URL is only recorded; a local file also gives its times and this
  // computer's name.
  virtual void SetSource(const BstrArg& location);
  virtual void Save() { object_.Save(); }
  virtual void Extract(const BstrArg& rootFolder);
  virtual void ExtractToFile(const BstrArg& newFileName);
  virtual ComPtr<INvVexaObject> VexaObject() { return object_; }

  // For embedding: whether the object was written already, and recording
  // that the file now travels as the package entry `entryName`.
  bool IsSaved() const;
  void RecordEmbedded(const Bstr& entryName);

 private:
  CNvVexaSourceImpl& SourceImpl();
  // The checks every extraction makes after the side test: the file is
  // embedded, was recorded on this computer (or none), and its entry exists.
  // Answers the entry's name.
  Bstr EntryToExtract();
  // Writes the entry as the new file `leaf` of the open folder `folderFd`,
  // never replacing a file there; `target` names the file in messages.
  void WriteEntry(const Bstr& entry, int folderFd, const std::string& leaf,
                  std::u16string_view target);
  [[noreturn]] void ThrowCannotExtractTo(std::u16string_view target, std::string_view reason);

  ComPtr<INvVexaObject> object_;
  ComPtr<INvVexaAttributesValues> description_;
  ComPtr<INvVexaAttributesValues> timeStamp_;
  ComPtr<INvVexaAttributesValues> secondary_;  // null for a main file
  ComPtr<ITAbUnZipper> package_;
  ComPtr<INvVexaSource> source_;  // made on first use
};

class CNvVexaFile final : public Implements<CNvVexaFile, CNvVexaBaseFileImpl, INvVexaFile> {
 public:
  using Implements::Implements;
};

class CNvVexaSecondaryFile final
    : public Implements<CNvVexaSecondaryFile, CNvVexaBaseFileImpl, INvVexaSecondaryFile> {
 public:
  using Implements::Implements;
};

// The implementation behind a file of this library; null for another one.
template <class I>
CNvVexaBaseFileImpl* FileImplOf(const ComPtr<I>& file) {
  return dynamic_cast<CNvVexaBaseFileImpl*>(file.get());
}

}  // namespace nv
