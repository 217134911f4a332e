// Allocation failures at every point: writing a small package, loading and
// saving a schema document, and reading the package are run again and again,
// the Nth allocation failing in run N, until a run meets no injected failure.
// Every run that met one ends in a failed call that answers E_OUTOFMEMORY
// (or a message a library below gives for any failure, where named) or with
// the right result, and leaves no allocation alive, no temporary folder and
// no partial or unreadable file behind.
//
// This program replaces the global operator new and delete, so every
// allocation of the library, the C++ runtime and the XML parser is counted.
// Outside the address-sanitized build, which owns malloc itself, it also
// replaces malloc, calloc and realloc to count and fail the calls that the
// archive library and zlib make; the C library's own pass straight through.
#include <gtest/gtest.h>
#include <cxxabi.h>
#include <link.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <new>

#include "support/sample_package.h"
#include "support/scratch.h"
#include "support/failure_of.h"

namespace {

std::atomic<uint64_t> g_failAt{0};   // 0: no failure armed
std::atomic<uint64_t> g_counted{0};  // allocations since arming
std::atomic<bool> g_fired{false};
std::atomic<int64_t> g_live{0};  // operator new's blocks not yet freed

// Counts an allocation and answers whether it is the one to fail.
bool FailsNow() {
  const uint64_t at = g_failAt.load(std::memory_order_relaxed);
  if (at == 0 || g_counted.fetch_add(1, std::memory_order_relaxed) + 1 != at) return false;
  g_fired = true;
  return true;
}

// Only the plain forms are replaced; the over-aligned ones keep the
// runtime's own pair.
void* Allocate(size_t size, bool nothrow) {
  void* block = FailsNow() ? nullptr : std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) {
    if (nothrow) return nullptr;
    throw std::bad_alloc();
  }
  g_live.fetch_add(1, std::memory_order_relaxed);
  return block;
}

void Free(void* block) noexcept {
  if (block == nullptr) return;
  g_live.fetch_sub(1, std::memory_order_relaxed);
  std::free(block);
}

}  // namespace

void* operator new(size_t n) { return Allocate(n, false); }
void* operator new[](size_t n) { return Allocate(n, false); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return Allocate(n, true); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return Allocate(n, true); }
void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, size_t) noexcept { Free(p); }
void operator delete[](void* p, size_t) noexcept { Free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Free(p); }

#if !defined(__SANITIZE_ADDRESS__)
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
}

namespace {

// Where a shared library's code lies, to tell who called malloc.
struct CodeRange {
  const char* name;
  uintptr_t begin = 0, end = 0;
  bool Holds(const void* caller) const {
    const auto at = reinterpret_cast<uintptr_t>(caller);
    return at >= begin && at < end;
  }
};
CodeRange g_zipCode{"/libzip.so"}, g_zlibCode{"/libz.so"};

int FindCode(dl_phdr_info* info, size_t, void*) {
  for (CodeRange* range : {&g_zipCode, &g_zlibCode}) {
    if (std::strstr(info->dlpi_name, range->name) == nullptr) continue;
    for (int k = 0; k < info->dlpi_phnum; ++k) {
      const ElfW(Phdr)& segment = info->dlpi_phdr[k];
      if (segment.p_type != PT_LOAD || !(segment.p_flags & PF_X)) continue;
      range->begin = info->dlpi_addr + segment.p_vaddr;
      range->end = range->begin + segment.p_memsz;
    }
  }
  return 0;
}

bool FailsForArchiveCode(const void* caller) {
  return (g_zipCode.Holds(caller) || g_zlibCode.Holds(caller)) && FailsNow();
}

}  // namespace

void FindArchiveCode() { dl_iterate_phdr(FindCode, nullptr); }

#define NV_CALLER __builtin_return_address(0)
extern "C" void* malloc(size_t n) noexcept {
  return FailsForArchiveCode(NV_CALLER) ? nullptr : __libc_malloc(n);
}
extern "C" void* calloc(size_t count, size_t n) noexcept {
  return FailsForArchiveCode(NV_CALLER) ? nullptr : __libc_calloc(count, n);
}
extern "C" void* realloc(void* block, size_t n) noexcept {
  return FailsForArchiveCode(NV_CALLER) ? nullptr : __libc_realloc(block, n);
}
#undef NV_CALLER
#else
void FindArchiveCode() {}
#endif

namespace nv_test {
namespace {

// How the runs of one operation ended.
struct SweepResult {
  uint64_t points = 0;                       // injection points met
  uint64_t outOfMemory = 0;                  // runs answered E_OUTOFMEMORY
  uint64_t completed = 0;                    // runs that absorbed the failure and finished
  std::map<std::string, uint64_t> messages;  // other failures, by description
};

// Runs `operation` with the Nth allocation failing for N = 1, 2, ... until a
// run meets no injected failure. `cleanUp` runs after each run, unarmed, and
// answers what the run left that it should not have (given whether it
// finished), else ""; `check` runs after a run that finished although its
// allocation failed.
SweepResult SweepAllocationFailures(const std::function<void()>& operation,
                                    const std::function<std::string(bool finished)>& cleanUp,
                                    const std::function<void()>& check) {
  FindArchiveCode();
  operation();  // warm-up: caches and one-time initialisation come first
  EXPECT_EQ(cleanUp(true), "");
  SweepResult result;
  for (uint64_t at = 1;; ++at) {
    const int64_t liveBefore = g_live.load();
    g_counted = 0;
    g_fired = false;
    g_failAt = at;
    bool finished = false;
    char failure[240] = "";  // no allocation: the blocks counted below are the run's own
    try {
      operation();
      finished = true;
    } catch (const nv::ComError& e) {
      if (e.Error() != E_OUTOFMEMORY) {
        const std::string text = e.Description().ToUtf8();
        std::snprintf(failure, sizeof failure, "%s",
                      text.empty() ? "(no description)" : text.c_str());
      }
    } catch (const std::bad_alloc&) {  // the test's own allocation failed
    } catch (...) {
      ADD_FAILURE() << abi::__cxa_current_exception_type()->name()
                    << " escaped after failing allocation " << at;
    }
    g_failAt = 0;
    SetErrorInfo(0, nullptr);
    if (!g_fired) return result;
    EXPECT_EQ(g_live.load(), liveBefore) << "blocks left after failing allocation " << at;
    ++result.points;
    if (finished) {
      ++result.completed;
      check();
    } else if (failure[0] == '\0') {
      ++result.outOfMemory;
    } else {
      ++result.messages[failure];
    }
    EXPECT_EQ(cleanUp(finished), "") << "after failing allocation " << at;
    if (::testing::Test::HasFailure()) return result;
  }
}

// Prints the sweep's figures and checks them: more than a hundred points, and
// a failed allocation answers E_OUTOFMEMORY, not a message, except where a
// message ends in `excused`: one that a library below gives for any failure
// of its own.
void Report(const char* operation, const SweepResult& result, std::string_view excused = {}) {
  EXPECT_GT(result.points, 100u) << operation;
  std::printf("%s: %llu injection points, %llu out of memory, %llu finished anyway\n", operation,
              static_cast<unsigned long long>(result.points),
              static_cast<unsigned long long>(result.outOfMemory),
              static_cast<unsigned long long>(result.completed));
  for (const auto& [message, count] : result.messages) {
    std::printf("  %llu x %s\n", static_cast<unsigned long long>(count), message.c_str());
    EXPECT_TRUE(!excused.empty() && message.ends_with(excused))
        << "a memory failure answered: " << message;
  }
}

class AllocationFaults : public ::testing::Test {
 protected:
  // Writes the sample package, unarmed, and answers what a reader finds in it.
  std::string WrittenAndRead(const Bstr& file) {
    WriteSamplePackage(file, values_);
    return Described(ReadSamplePackage(file));
  }

  ScratchWithTemp scratch_;
  const std::vector<Variant> values_ = SampleValuesOfEveryType();
};

TEST_F(AllocationFaults, WritingASmallPackage) {
  const std::string expected = WrittenAndRead(scratch_.Name("expected.vexa"));
  const std::string written = scratch_.File("written.vexa");
  const Bstr file = Bstr::FromUtf8(written);
  const SweepResult result = SweepAllocationFailures(
      [&] { WriteSamplePackage(file, values_); },
      [&](bool finished) {
        // A writer released open closes its package: what it publishes must read.
        std::string left = scratch_.TempLeft();
        if (!std::filesystem::exists(written))
          return finished ? left + "no package" : left;
        const std::string failure = FailureOf([&] { ReadSamplePackage(file); });
        if (failure != kNoFailure) left += "the package does not read: " + failure;
        std::filesystem::remove(written);
        return left;
      },
      [&] { EXPECT_EQ(Described(ReadSamplePackage(file)), expected); });
  Report("writing", result);
}

TEST_F(AllocationFaults, SavingAndLoadingASchemaDocument) {
  const auto writer = Created<INvVexaExternalSchemaWriter>(CLSID_NvVexaExternalSchemaWriter);
  writer.PutSchemaURI(u"urn:t");
  const auto part = writer.Schema().Classes().Add(u"Part");
  for (int type = dtString; type <= dtXML; ++type)
    part.CurrentClassAttributes()
        .Add(kAttributeNames[type - 1])
        .TypeDefinition()
        .PutValueType(static_cast<DataTypeEnum>(type));
  const Bstr document = Bstr::FromUtf8(scratch_.File("part.xsd"));
  writer.Save(document);
  const auto describe = [&] {
    const auto schema =
        Created<INvVexaExternalSchemaReader>(CLSID_NvVexaExternalSchemaReader).Load(document);
    const auto attributes = schema.Classes().ItemByName(u"Part").AllAttributes();
    return attributes.Count();
  };
  const SweepResult loading =
      SweepAllocationFailures([&] { describe(); }, [&](bool) { return scratch_.TempLeft(); },
                              [&] { EXPECT_EQ(describe(), dtXML); });
  Report("loading a schema document", loading);

  // A failed save leaves no document, whole or partial, and nothing beside it.
  const std::set<std::string> before = FolderNames(scratch_.File(""));
  const std::string saved = scratch_.File("saved.xsd");
  const SweepResult saving = SweepAllocationFailures(
      [&] { writer.Save(Bstr::FromUtf8(saved)); },
      [&](bool finished) {
        std::string left = scratch_.TempLeft();
        if (std::filesystem::exists(saved) != finished) left += "saved.xsd ";
        std::filesystem::remove(saved);
        if (FolderNames(scratch_.File("")) != before) left += "files beside it";
        return left;
      },
      [&] { EXPECT_EQ(ReadText(saved), ReadText(scratch_.File("part.xsd"))); });
  Report("saving a schema document", saving);
}

TEST_F(AllocationFaults, ReadingThePackage) {
  const Bstr package = scratch_.Name("expected.vexa");
  const std::string expected = WrittenAndRead(package);
  FoundValues found;
  const SweepResult result = SweepAllocationFailures(
      [&] { found = ReadSamplePackage(package); }, [&](bool) { return scratch_.TempLeft(); },
      [&] { EXPECT_EQ(Described(found), expected); });
  // libzip reports a failure while it reads the central directory as no archive.
  Report("reading", result, ": Not a zip archive");
}

}  // namespace
}  // namespace nv_test
