// Package writing speed and memory beside its floor.
//
// "library" writes N objects through the public interfaces (ten attributes
// of mixed types over a two-class chain, one behaviour block each) into a
// package at afclLow. "floor" formats the identical object texts with
// snprintf, writes them with fwrite and archives them with libzip at the same
// deflate level. Each runs in a child process so that its peak memory is its
// own; a final check compares the two documents byte for byte.
//
//   write_bench [objects (default 1000000)]      both, with the figures
//   write_bench OBJECTS library|floor DIR         one, in this process (for
//                                                 valgrind); leaves DIR/*.vexa
#include "bench_client.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

using namespace bench;
namespace fs = std::filesystem;

constexpr int kDeflateLevel = 4;  // the engine level of afclLow
constexpr const char16_t* kTrackedUri = u"urn:bench:track#Tracked";
constexpr double kFirstDay = 46000;  // 2025-12-10

// ---- The values of object i, shared by both writers ----------------------------------

struct ObjectValues {
  long code;
  double weight;
  int count;
  bool active;
  int dayOffset;      // added to kFirstDay
  int minuteOfDay;    // of "created"
  int grade;
  int revision;
  bool escapedNote;
};

ObjectValues ValuesOf(long i) {
  return {i,         static_cast<double>(i % 1000) / 4.0, static_cast<int>(i % 30000), i % 2 == 0,
          static_cast<int>(i % 1000), static_cast<int>(i % 1440), static_cast<int>(i % 256),
          static_cast<int>(i % 7),     i % 10 == 0};
}

const char* NoteOf(const ObjectValues& v) { return v.escapedNote ? "bolts & nuts" : "plain note"; }

// ---- Library: through the public interfaces ------------------------------------------

void AddClass(INvVexaClasses* classes, const char16_t* name, INvVexaClass* parent,
              std::initializer_list<std::pair<const char16_t*, DataTypeEnum>> attributes,
              Ref<INvVexaClass>& made) {
  Check(classes->Add(Text(name).b, &made.p), "Classes.Add");
  if (parent) Check(made->put_ParentClass(parent), "ParentClass");
  Ref<INvVexaAttributes> own;
  Check(made->get_CurrentClassAttributes(&own.p), "CurrentClassAttributes");
  for (const auto& [attribute, type] : attributes) AddAttribute(own.p, attribute, type);
}

void BuildSchema(INvVexaSchema* schema) {
  Ref<INvVexaClasses> classes;
  Check(schema->get_Classes(&classes.p), "Classes");
  Ref<INvVexaClass> base, part;
  AddClass(classes.p, u"Base", nullptr, {{u"name", dtString}, {u"code", dtInt}}, base);
  AddClass(classes.p, u"Part", base.p,
           {{u"weight", dtDouble}, {u"count", dtShort}, {u"active", dtBoolean},
            {u"created", dtDateTime}, {u"approved", dtDate}, {u"owner", dtObjectReference},
            {u"note", dtString}, {u"grade", dtUnsignedByte}},
           part);
  Ref<INvVexaClassesBehaviors> behaviors;
  Check(schema->get_ClassesBehaviors(&behaviors.p), "ClassesBehaviors");
  Ref<INvVexaClassBehavior> tracked;
  Check(behaviors->Add(mtEmbedded, Text(kTrackedUri).b, nullptr, VARIANT_FALSE, &tracked.p),
        "ClassesBehaviors.Add");
  Ref<INvVexaAttributes> trackedAttributes;
  Check(tracked->get_Attributes(&trackedAttributes.p), "Behavior.Attributes");
  AddAttribute(trackedAttributes.p, u"rev", dtInt);
  AddAttribute(trackedAttributes.p, u"by", dtString);
  Ref<INvVexaClassBehaviors> partBehaviors;
  Check(part->get_CurrentClassBehaviors(&partBehaviors.p), "CurrentClassBehaviors");
  Check(partBehaviors->Add(tracked.p, muNo), "ClassBehaviors.Add");
}

// Attribute names made once, as a client that writes many objects would.
struct Names {
  Text part{u"Part"}, name{u"name"}, code{u"code"}, weight{u"weight"}, count{u"count"},
      active{u"active"}, created{u"created"}, approved{u"approved"}, owner{u"owner"},
      note{u"note"}, grade{u"grade"}, rev{u"rev"}, by{u"by"}, tracked{kTrackedUri};
};

void PutText(INvVexaAttributesValues* values, BSTR name, const std::string& text) {
  VARIANT v = Scalar(VT_BSTR);
  const std::u16string wide = Wide(text);
  V_BSTR(&v) = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  const HRESULT hr = values->put_Item(name, v);
  VariantClear(&v);
  Check(hr, "put_Item");
}

void PutScalar(INvVexaAttributesValues* values, BSTR name, VARIANT v) {
  Check(values->put_Item(name, v), "put_Item");
}

void WriteLibraryObject(INvVexaObjectWriter* writer, const Names& n, long i) {
  const ObjectValues v = ValuesOf(i);
  Ref<INvVexaObject> object;
  Text id(Wide("P" + std::to_string(i)));
  Check(writer->NewObject(n.part.b, id.b, &object.p), "NewObject");
  Ref<INvVexaAttributesValues> values;
  Check(object->get_Values(&values.p), "Values");
  PutText(values.p, n.name.b, "Part " + std::to_string(i));
  VARIANT x = Scalar(VT_I4);
  V_I4(&x) = v.code;
  PutScalar(values.p, n.code.b, x);
  x = Scalar(VT_R8);
  V_R8(&x) = v.weight;
  PutScalar(values.p, n.weight.b, x);
  x = Scalar(VT_I4);
  V_I4(&x) = v.count;
  PutScalar(values.p, n.count.b, x);
  x = Scalar(VT_BOOL);
  V_BOOL(&x) = v.active ? VARIANT_TRUE : VARIANT_FALSE;
  PutScalar(values.p, n.active.b, x);
  x = Scalar(VT_DATE);
  V_DATE(&x) = kFirstDay + v.dayOffset + v.minuteOfDay / 1440.0;
  PutScalar(values.p, n.created.b, x);
  V_DATE(&x) = kFirstDay + v.dayOffset;
  PutScalar(values.p, n.approved.b, x);
  PutText(values.p, n.owner.b, "P" + std::to_string(i - 1));
  PutText(values.p, n.note.b, NoteOf(v));
  x = Scalar(VT_I4);
  V_I4(&x) = v.grade;
  PutScalar(values.p, n.grade.b, x);
  Ref<INvVexaAttributesValues> tracked;
  Check(object->GetBehaviorValues(n.tracked.b, &tracked.p), "GetBehaviorValues");
  V_I4(&x) = v.revision;
  PutScalar(tracked.p, n.rev.b, x);
  PutText(tracked.p, n.by.b, "bench");
  Check(object->Save(), "Save");
}

void WriteWithLibrary(long objects, const fs::path& archive) {
  CoInitialize(nullptr);
  {
    Ref<INvVexaWriter> writer;
    CreateEmbeddedPackage(writer, BuildSchema, archive.string(), afclLow);
    Ref<INvVexaDataWriter> data;
    Check(writer->get_DataWriter(&data.p), "DataWriter");
    Ref<INvVexaObjectWriter> objectWriter;
    Check(data->get_ObjectWriter(&objectWriter.p), "ObjectWriter");
    const Names names;
    for (long i = 1; i <= objects; ++i) WriteLibraryObject(objectWriter.p, names, i);
    Check(writer->CloseVexaArchiveFile(), "Close");
  }
  CoUninitialize();
}

// ---- Floor: snprintf, fwrite and libzip ----------------------------------------------

// Civil date of a day counted from 1899-12-30.
void CivilDate(long day, int& year, int& month, int& dayOfMonth) {
  long z = day - 25569 + 719468;  // to days since 0000-03-01
  const long era = z / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  dayOfMonth = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

const char kFloorStart[] =
    "<!-- floor -->"
    "<SOAP_ENV:Envelope xmlns:SOAP_ENV=\"http://schemas.xmlsoap.org/soap/envelope/\">\r\n"
    "<SOAP_ENV:Body>\r\n";
const char kFloorEnd[] = "</SOAP_ENV:Body>\r\n</SOAP_ENV:Envelope>\r\n";

size_t FormatObject(char* out, size_t size, long i) {
  const ObjectValues v = ValuesOf(i);
  int year, month, day;
  CivilDate(static_cast<long>(kFirstDay) + v.dayOffset, year, month, day);
  const int written = std::snprintf(
      out, size,
      "<vexa:object xsi:type=\"tns:Part\" id=\"P%ld\">\r\n"
      "    <tns:name>Part %ld</tns:name>\r\n"
      "    <tns:code>%ld</tns:code>\r\n"
      "    <tns:weight>%g%s</tns:weight>\r\n"
      "    <tns:count>%d</tns:count>\r\n"
      "    <tns:active>%s</tns:active>\r\n"
      "    <tns:created>%04d-%02d-%02dT%02d:%02d:00.0Z</tns:created>\r\n"
      "    <tns:approved>%04d-%02d-%02d</tns:approved>\r\n"
      "    <tns:owner href=\"P%ld\"/>\r\n"
      "    <tns:note>%s</tns:note>\r\n"
      "    <tns:grade>%d</tns:grade>\r\n"
      "  <NS1:Tracked>\r\n"
      "    <NS1:rev>%d</NS1:rev>\r\n"
      "    <NS1:by>bench</NS1:by>\r\n"
      "  </NS1:Tracked>\r\n"
      "</vexa:object>\r\n",
      // Weights are quarters below 250: %g gives their shortest digits; whole ones take ".0".
      i, i, v.code, v.weight, v.weight == std::floor(v.weight) ? ".0" : "", v.count,
      v.active ? "true" : "false", year, month, day, v.minuteOfDay / 60, v.minuteOfDay % 60,
      year, month, day, i - 1, v.escapedNote ? "bolts &amp; nuts" : NoteOf(v), v.grade, v.revision);
  return static_cast<size_t>(written);
}

void WriteFloor(long objects, const fs::path& archive) {
  const fs::path document = archive.parent_path() / "VEXA_Data.xml";
  FILE* file = std::fopen(document.c_str(), "wb");
  if (!file) throw std::runtime_error("cannot create the floor's document");
  std::fwrite(kFloorStart, 1, sizeof kFloorStart - 1, file);
  char buffer[2048];
  for (long i = 1; i <= objects; ++i) std::fwrite(buffer, 1, FormatObject(buffer, sizeof buffer, i), file);
  std::fwrite(kFloorEnd, 1, sizeof kFloorEnd - 1, file);
  std::fclose(file);

  int error = 0;
  zip_t* zip = zip_open(archive.c_str(), ZIP_CREATE | ZIP_EXCL, &error);
  zip_source_t* source = zip ? zip_source_file(zip, document.c_str(), 0, -1) : nullptr;
  const zip_int64_t index = source ? zip_file_add(zip, "VEXA_Data.xml", source, 0) : -1;
  if (index < 0 || zip_set_file_compression(zip, index, ZIP_CM_DEFLATE, kDeflateLevel) != 0 ||
      zip_close(zip) != 0)
    throw std::runtime_error("the floor's archive failed");
  fs::remove(document);
}

// ---- Running and reporting -----------------------------------------------------------

void RunPhase(const std::string& phase, long objects, const fs::path& folder) {
  if (phase == "library")
    WriteWithLibrary(objects, folder / "library.vexa");
  else
    WriteFloor(objects, folder / "floor.vexa");
}

struct Figures {
  double seconds = 0;
  double cpuSeconds = 0;
  double peakMegabytes = 0;
};

Figures RunChild(const std::string& phase, long objects, const fs::path& folder) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    try {
      RunPhase(phase, objects, folder);
      _exit(0);
    } catch (const std::exception& failure) {
      std::fprintf(stderr, "%s: %s\n", phase.c_str(), failure.what());
      _exit(1);
    }
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error(phase + " failed");
  Figures figures;
  figures.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  figures.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                       (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  figures.peakMegabytes = usage.ru_maxrss / 1024.0;
  return figures;
}

// The size of a package's instance document, read with libzip; its text
// too when `text` is given.
uint64_t ReadDocument(const fs::path& archive, std::string* text = nullptr) {
  zip_t* zip = zip_open(archive.c_str(), ZIP_RDONLY, nullptr);
  zip_stat_t stat;
  if (!zip || zip_stat(zip, "VEXA_Data.xml", 0, &stat) != 0)
    throw std::runtime_error("no instance document in " + archive.string());
  zip_int64_t read = static_cast<zip_int64_t>(stat.size);
  if (text) {
    text->assign(stat.size, '\0');
    zip_file_t* entry = zip_fopen_index(zip, stat.index, 0);
    read = entry ? zip_fread(entry, text->data(), stat.size) : -1;
    if (entry) zip_fclose(entry);
  }
  zip_close(zip);
  if (read != static_cast<zip_int64_t>(stat.size)) throw std::runtime_error("short read");
  return stat.size;
}

// Both documents hold the same objects, byte for byte.
bool SameBody(const std::string& library, const std::string& floor) {
  const size_t a = library.find("<vexa:object");
  const size_t b = floor.find("<vexa:object");
  return a != std::string::npos && b != std::string::npos &&
         library.compare(a, std::string::npos, floor, b, std::string::npos) == 0;
}

void Report(const char* name, const Figures& f, long objects, double megabytes) {
  std::printf("%-8s %9.2f s %9.2f s %12.0f %9.1f %9.1f\n", name, f.seconds, f.cpuSeconds,
              objects / f.seconds, megabytes / f.seconds, f.peakMegabytes);
}

int Compare(long objects) {
  const fs::path folder = fs::temp_directory_path() / ("write_bench." + std::to_string(getpid()));
  fs::create_directories(folder);
  const Figures library = RunChild("library", objects, folder);
  const Figures floor = RunChild("floor", objects, folder);
  const double megabytes = static_cast<double>(ReadDocument(folder / "library.vexa")) / 1e6;
  // A small run of both proves that the floor writes the same text.
  const fs::path checkFolder = folder / "check";
  fs::create_directories(checkFolder);
  RunChild("library", 1000, checkFolder);
  RunChild("floor", 1000, checkFolder);
  std::string libraryText, floorText;
  ReadDocument(checkFolder / "library.vexa", &libraryText);
  ReadDocument(checkFolder / "floor.vexa", &floorText);
  const bool same = SameBody(libraryText, floorText);
  fs::remove_all(folder);

  std::printf("%ld objects, instance document %.1f MB, deflate level %d (afclLow)\n", objects,
              megabytes, kDeflateLevel);
  std::printf("%-8s %11s %11s %12s %9s %9s\n", "", "wall", "cpu", "objects/s", "MB/s", "peak MB");
  Report("library", library, objects, megabytes);
  Report("floor", floor, objects, megabytes);
  std::printf("library/floor: %.2f wall, %.2f cpu; floor text identical: %s\n",
              library.seconds / floor.seconds, library.cpuSeconds / floor.cpuSeconds,
              same ? "yes" : "NO");
  return same ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const long objects = argc > 1 ? std::atol(argv[1]) : 1000000;
    if (objects <= 0) throw std::runtime_error("the object count must be positive");
    if (argc == 4) {
      RunPhase(argv[2], objects, argv[3]);
      return 0;
    }
    return Compare(objects);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "write_bench: %s\n", failure.what());
    return 1;
  }
}
