// The writer and reader helpers and the versioning, time-stamp and
// file-association views, as a client reaches them: written into a package
// and read back.
#include "stdbehaviors/behavior_views.h"

#include <gtest/gtest.h>

#include "stdbehaviors/catalogue.h"
#include "support/created.h"
#include "support/failure_of.h"
#include "support/scratch.h"

namespace nv {
namespace {

using nv_test::Created;

// "Part" carries versioning, a time stamp and a file association; "Plain" none.
void BuildSchema(const ComPtr<INvVexaSchema>& schema) {
  const auto helper = Created<INvVexaStdHelper>(CLSID_NvVexaStdHelper).CreateSchemaHelper(schema);
  helper.AddDefaultFilesSupport();
  helper.AddDefaultVersioningSupport();
  const auto part = schema.Classes().Add(u"Part");
  helper.EnableVersioningForClass(part);
  helper.EnableTimeStampForClass(part);
  helper.EnableFileAssociationForClass(part);
  schema.Classes().Add(u"Plain");
}

TEST(BehaviorViews, WrittenThroughTheWriterHelperReadBackThroughTheReaderHelper) {
  const nv_test::ScratchFolder folder;
  const auto std = Created<INvVexaStdHelper>(CLSID_NvVexaStdHelper);
  const auto writer = Created<INvVexaWriter>(CLSID_NvVexaWriter);
  BuildSchema(writer.Schema());
  writer.SetSchemaMode(mtEmbedded, u"", u"", false);
  writer.CreateVexaArchiveFile(folder.Name("p.vexa"));
  const auto helper = std.CreateWriterHelper(writer);
  EXPECT_EQ(helper.VersioningWriter().get(), helper.VersioningWriter().get());
  EXPECT_EQ(helper.TimeStampWriter().get(), helper.TimeStampWriter().get());

  const auto objects = writer.DataWriter().ObjectWriter();
  const auto part = objects.NewObject(u"Part", u"P-1");
  const auto version = helper.VersioningWriter().CastToVersioning(part);
  EXPECT_EQ(version.Version(), Bstr());
  version.PutVersion(u"B");
  version.PutPreviousVersion(u"");
  EXPECT_TRUE(part.GetBehaviorValues(StandardBehaviorUri(kVersioningNamespace, u"version"))
                  .Item(u"previousVersion")
                  .IsNull());
  const auto stamp = helper.TimeStampWriter().CastToTimeStamp(part);
  EXPECT_EQ(stamp.CreationTime(), -1.0);
  stamp.PutCreationTime(45000.25);
  helper.FileWriter().CastToFileAssociation(part).PutFileId(u"F-1");
  part.Save();
  const auto plain = objects.NewObject(u"Plain", u"Q-1");
  EXPECT_FALSE(helper.VersioningWriter().CastToVersioning(plain));
  EXPECT_FALSE(helper.TimeStampWriter().CastToTimeStamp(plain));
  EXPECT_FALSE(helper.FileWriter().CastToFileAssociation(plain));
  plain.Save();
  EXPECT_EQ(nv_test::FailureOf([&] { helper.VersioningWriter().CastToVersioning(nullptr); }),
            "Invalid pointer");
  writer.CloseVexaArchiveFile();

  const auto reader = Created<INvVexaReader>(CLSID_NvVexaReader);
  reader.OpenVexaArchiveFile(folder.Name("p.vexa"), true);
  const auto readers = std.CreateReaderHelper(reader);
  EXPECT_EQ(readers.FileReader().get(), readers.FileReader().get());
  const auto iterator = reader.DataReader().ObjectReader().GetObjectIterator();
  const auto read = iterator.GetObject();
  const auto readVersion = readers.VersioningReader().CastToVersioning(read);
  EXPECT_EQ(readVersion.Version(), Bstr(u"B"));
  EXPECT_EQ(readVersion.PreviousVersion(), Bstr());
  const auto readStamp = readers.TimeStampReader().CastToTimeStamp(read);
  EXPECT_EQ(readStamp.CreationTime(), 45000.25);
  EXPECT_EQ(readStamp.ModificationTime(), -1.0);
  EXPECT_EQ(readers.FileReader().CastToFileAssociation(read).FileId(), Bstr(u"F-1"));
  iterator.Next();
  EXPECT_FALSE(readers.VersioningReader().CastToVersioning(iterator.GetObject()));
}

TEST(BehaviorViews, DetectFileMimeTypeUsesTheSystemTable) {
  const auto writer = Created<INvVexaWriter>(CLSID_NvVexaWriter);
  const auto helper = Created<INvVexaStdHelper>(CLSID_NvVexaStdHelper).CreateWriterHelper(writer);
  EXPECT_EQ(helper.DetectFileMimeType(u"Docs/plan.PDF"), Bstr(u"application/pdf"));
  EXPECT_EQ(helper.DetectFileMimeType(u"notes.no-such-extension"), Bstr());
}

}  // namespace
}  // namespace nv
