// The library under several threads at once, as a scripting host uses it:
// each thread writes and reads its own packages and sees its own failures,
// and objects are released on another thread than the one that made them.
// The test command runs these under ThreadSanitizer too.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "support/failure_of.h"
#include "support/sample_package.h"
#include "support/scratch.h"

namespace nv_test {
namespace {

constexpr int kThreads = 4;
constexpr int kRounds = 3;

TEST(Threads, EachWritesAndReadsItsOwnPackagesAndSeesItsOwnFailures) {
  ScratchWithTemp scratch;
  const std::vector<Variant> values = SampleValuesOfEveryType();
  WriteSamplePackage(Bstr::FromUtf8(scratch.File("expected.vexa")), values);
  const std::string expected =
      Described(ReadSamplePackage(Bstr::FromUtf8(scratch.File("expected.vexa"))));
  std::vector<std::string> found(kThreads), failures(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      try {
        for (int round = 0; round < kRounds; ++round) {
          const Bstr file = Bstr::FromUtf8(
              scratch.File(std::to_string(t) + "-" + std::to_string(round) + ".vexa"));
          WriteSamplePackage(file, values);
          found[t] += Described(ReadSamplePackage(file));
          failures[t] += FailureOf([&] {
            Created<INvVexaReader>(CLSID_NvVexaReader)
                .OpenVexaArchiveFile(Bstr::FromUtf8(scratch.File("missing-" + std::to_string(t))),
                                     true);
          });
        }
      } catch (const std::exception& failure) {  // a thread's failure shows in what it found
        found[t] += failure.what();
      }
    });
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(found[t], expected + expected + expected) << "thread " << t;
    EXPECT_NE(failures[t].find("missing-" + std::to_string(t)), std::string::npos) << failures[t];
    EXPECT_EQ(failures[t].find("missing-" + std::to_string((t + 1) % kThreads)), std::string::npos);
  }
  EXPECT_EQ(scratch.TempLeft(), "");
}

// A writer, its schema and an object it made, and a reader with an object
// it read, are made on one thread and released on others.
TEST(Threads, ObjectsAreReleasedOnOtherThreads) {
  ScratchWithTemp scratch;
  const std::vector<Variant> values = SampleValuesOfEveryType();
  const Bstr file = Bstr::FromUtf8(scratch.File("p.vexa"));
  WriteSamplePackage(file, values);
  std::vector<ComPtr<IUnknown>> made;
  std::thread([&] {
    const auto writer = Created<INvVexaWriter>(CLSID_NvVexaWriter);
    writer.SetSchemaMode(mtEmbedded, Bstr(), Bstr(), false);
    writer.Schema().Classes().Add(u"Part");
    writer.CreateVexaArchiveFile(Bstr::FromUtf8(scratch.File("open.vexa")));
    const auto object = writer.DataWriter().ObjectWriter().NewObject(u"Part", u"P-1");
    object.Save();
    made.push_back(object);
    made.push_back(writer.Schema());
    made.push_back(writer);
    const auto reader = Created<INvVexaReader>(CLSID_NvVexaReader);
    reader.OpenVexaArchiveFile(file, true);
    const ComPtr<INvVexaObjectIterator> objects =
        reader.DataReader().ObjectReader().GetObjectIterator();
    made.push_back(objects.GetObject());
    made.push_back(objects);
    made.push_back(reader);
  }).join();
  for (ComPtr<IUnknown>& object : made)  // one after the other, each on a thread of its own
    std::thread([held = std::move(object)]() mutable { held = nullptr; }).join();
  EXPECT_EQ(scratch.TempLeft(), "");
  // The writer released open finished its package.
  const auto reader = Created<INvVexaReader>(CLSID_NvVexaReader);
  reader.OpenVexaArchiveFile(Bstr::FromUtf8(scratch.File("open.vexa")), true);
  EXPECT_EQ(reader.DataReader().ObjectReader().GetObjectIterator().GetObject().Id().ToUtf8(),
            "P-1");
}

}  // namespace
}  // namespace nv_test

// libzip converts archive times with the C library's time zone functions,
// which guard their state with a lock inside the C library that
// ThreadSanitizer cannot see; the race it reports there is not one.
extern "C" const char* __tsan_default_suppressions() { return "race:tzset_internal"; }
