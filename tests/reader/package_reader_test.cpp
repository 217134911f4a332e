// Packages written by the library read back through the public interfaces
// with every value as written; the reader's refusals of faulty and hostile
// packages, which leave no temporary folder behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "archive/archive_test_support.h"
#include "archive/zipper.h"
#include "reader/reader.h"
#include "schemadoc/schema_writer.h"
#include "support/failure_of.h"
#include "support/sample_values.h"
#include "support/scratch.h"
#include "writer/writer.h"

namespace nv::test {
namespace {

namespace fs = std::filesystem;
using nv_test::MessageOfFailure;

std::string Utf8(const Bstr& text) { return text.ToUtf8(); }

// "Class#id name=value ... {behaviour} name=value ..." with the assigned values only.
std::string Describe(const ComPtr<INvVexaObject>& object, const ComPtr<INvVexaSchema>& schema) {
  const ComPtr<INvVexaClass> vexaClass = schema.Classes().ItemByName(object.vexaClassName());
  std::string out = Utf8(object.vexaClassName()) + "#" + Utf8(object.Id());
  const auto describe = [&](const auto& attributes, const ComPtr<INvVexaAttributesValues>& values) {
    for (LONG k = 0; k < attributes.Count(); ++k) {
      const auto attribute = attributes.Item(k);
      const Bstr name = attribute.Name();
      if (values.IsValueAssigned(name))
        out += " " + Utf8(name) + "=" +
               ValueText(values.Item(name), attribute.TypeDefinition().ValueType());
    }
  };
  describe(ComPtr<INvVexaReadOnlyAttributes>(vexaClass.AllAttributes()), object.Values());
  const auto behaviors = vexaClass.AllBehaviors();
  for (LONG k = 0; k < behaviors.Count(); ++k) {
    out += " {" + Utf8(behaviors.Item(k).URI()) + "}";
    describe(ComPtr<INvVexaAttributes>(behaviors.Item(k).Attributes()),
             object.GetBehaviorValues(behaviors.Item(k).URI()));
  }
  return out;
}

std::string DescribeInfo(const ComPtr<INvVexaInfo>& info) {
  std::string out;
  const auto items = info.as<INvVexaInfoCRaw>();
  for (LONG k = 0; k < items.Count(); ++k) {
    const auto item = items.GetItem(k);
    out += "{" + Utf8(item.Namespace()) + "}" + Utf8(item.Name()) +
           (item.MustUnderstand() == muYes ? "!" : "") + "=" +
           ValueText(item.Value(), item.ValueType()) + "\n";
  }
  return out;
}

// A folder for packages with TEMP inside it, which must be empty at the end.
class PackageReaderTest : public ::testing::Test {
 protected:
  ~PackageReaderTest() override { EXPECT_EQ(scratch_.TempLeft(), "") << "temporary files left"; }

  // Writes a package whose schema `build` fills and whose content `fill`
  // writes, answering the objects it wrote described; answers the Info and
  // objects described as a reader should find them.
  using Fill =
      std::function<std::string(const ComPtr<INvVexaDataWriter>&, const ComPtr<INvVexaSchema>&)>;
  std::string Write(const std::string& name,
                    const std::function<void(const ComPtr<INvVexaSchema>&)>& build,
                    const Fill& fill) {
    const ComPtr<INvVexaWriter> writer = CreateObject<NvVexaWriter>();
    writer.SetSchemaMode(mtEmbedded, Bstr(), Bstr(), false);
    build(writer.Schema());
    writer.CreateVexaArchiveFile(Bstr::FromUtf8(scratch_.File(name)));
    const ComPtr<INvVexaDataWriter> data = writer.DataWriter();
    const std::string objects = fill(data, writer.Schema());
    const std::string info = DescribeInfo(data.Info());
    writer.CloseVexaArchiveFile();
    return info + objects;
  }

  // Reads the package whole: its Info, then every object described.
  std::string Read(const std::string& name, const ComPtr<INvVexaReader>& reader) {
    reader.OpenVexaArchiveFile(Bstr::FromUtf8(scratch_.File(name)), true);
    const ComPtr<INvVexaDataReader> data = reader.DataReader();
    std::string out = DescribeInfo(data.Info());
    const ComPtr<INvVexaObjectIterator> objects = data.ObjectReader().GetObjectIterator();
    for (; !objects.AtEnd(); objects.Next()) {
      out += Describe(objects.GetObject(), reader.Schema()) + "\n";
      EXPECT_EQ(MessageOfFailure([&] { objects.GetObject().Save(); }),
                "Cannot save object from Reader");
    }
    reader.Close();
    return out;
  }

  nv_test::ScratchWithTemp scratch_;
};

// Base <- Middle <- Leaf with an attribute of every type spread over the
// chain, a behaviour on Middle in its own namespace.
void ChainSchema(const ComPtr<INvVexaSchema>& schema) {
  const auto classes = schema.Classes();
  const auto base = classes.Add(u"Base"), middle = classes.Add(u"Middle"),
             leaf = classes.Add(u"Leaf");
  middle.PutParentClass(base);
  leaf.PutParentClass(middle);
  base.PutIsAbstract(true);
  const ComPtr<INvVexaClass> owners[] = {base, middle, leaf};
  for (int type = dtString; type <= dtXML; ++type) {
    const auto attribute =
        owners[type % 3].CurrentClassAttributes().Add(Bstr::FromUtf8("t" + std::to_string(type)));
    attribute.TypeDefinition().PutValueType(static_cast<DataTypeEnum>(type));
  }
  classes.ItemByName(u"Leaf").CurrentClassAttributes().ItemByName(u"t11").PutIsNullAllowed(false);
  const auto tracked = schema.ClassesBehaviors().Add(mtEmbedded, u"urn:b#Tracked", u"", false);
  for (const auto& [name, type] : {std::pair{u"rev", dtInt}, {u"note", dtString}, {u"doc", dtXML}})
    tracked.Attributes().Add(name).TypeDefinition().PutValueType(type);
  middle.CurrentClassBehaviors().Add(tracked, muYes);
}

// Every attribute of the object's class and behaviours given `pick`'s sample.
void FillObject(const ComPtr<INvVexaObject>& object, const ComPtr<INvVexaSchema>& schema,
                const std::function<Variant(DataTypeEnum, const Bstr&)>& value) {
  const auto vexaClass = schema.Classes().ItemByName(object.vexaClassName());
  const auto fill = [&](const auto& attributes, const ComPtr<INvVexaAttributesValues>& values) {
    for (LONG k = 0; k < attributes.Count(); ++k) {
      const Bstr name = attributes.Item(k).Name();
      const Variant given = value(attributes.Item(k).TypeDefinition().ValueType(), name);
      if (given.vt != VT_EMPTY) values.PutItem(name, given);
    }
  };
  fill(ComPtr<INvVexaReadOnlyAttributes>(vexaClass.AllAttributes()), object.Values());
  const auto behaviors = vexaClass.AllBehaviors();
  for (LONG k = 0; k < behaviors.Count(); ++k)
    fill(ComPtr<INvVexaAttributes>(behaviors.Item(k).Attributes()),
         object.GetBehaviorValues(behaviors.Item(k).URI()));
}

// Info items of every type, each before the objects: every value of a chain
// of classes and a behaviour, once with plain samples, once with edge values,
// once with nulls, references and a default namespace, once with empty texts.
TEST_F(PackageReaderTest, PackagesReadBackAsWritten) {
  const ComPtr<INvVexaReader> reader = CreateObject<NvVexaReader>();
  reader.UnderstoodInfoItems().Add(u"i21", u"urn:info");
  const std::function<Variant(DataTypeEnum, const Bstr&)> rows[] = {
      [](DataTypeEnum type, const Bstr&) { return SampleValue(type, 0); },
      [](DataTypeEnum type, const Bstr&) { return SampleValue(type, 1); },
      [](DataTypeEnum type, const Bstr& name) {
        if (type == dtObjectReference) return Variant(u"L0");
        if (type == dtXML)
          return XmlAttributeValueFromText(u"<d xmlns=\"urn:d\"><e a=\"&lt;\"/></d>", {});
        Variant none;  // every other attribute null, or not given at all
        none.vt = name.View().ends_with(u"1") ? VT_EMPTY : VT_NULL;
        return none;
      },
      [](DataTypeEnum type, const Bstr&) {  // empty texts, written as empty elements
        return type == dtString || type == dtAnyUri || type == dtLanguage ? Variant(u"")
                                                                          : Variant();
      },
  };
  for (const auto& value : rows) {
    const std::string written =
        Write("rows.vexa", ChainSchema, [&](const auto& data, const auto& schema) {
          for (int type = dtString; type <= dtXML; ++type) {
            const auto item =
                data.Info().GetInfoItem(Bstr::FromUtf8("i" + std::to_string(type)), u"urn:info");
            item.PutValueType(static_cast<DataTypeEnum>(type));
            // The row's value where it gives one, else a sample.
            const Variant given = value(static_cast<DataTypeEnum>(type), u"i");
            item.PutValue(given.vt == VT_EMPTY || given.vt == VT_NULL
                              ? SampleValue(static_cast<DataTypeEnum>(type), type % 2)
                              : given);
            if (type == dtXML) item.PutMustUnderstand(muYes);
          }
          data.Info().Save();
          std::string objects;
          for (const char16_t* id : {u"L0", u"M0"}) {
            const auto object =
                data.ObjectWriter().NewObject(id[0] == u'L' ? u"Leaf" : u"Middle", id);
            FillObject(object, schema, value);
            object.Save();
            objects += Describe(object, schema) + "\n";
          }
          return objects;
        });
    // The marker item that writers put first reads as an item like any other.
    EXPECT_EQ(Read("rows.vexa", reader),
              "{http://www.norvane.com/vexa/std/ns/core/1.0}containsMustUnderstand=\n" + written);
    fs::remove(scratch_.File("rows.vexa"));
  }
}

// Random schemas (a chain of classes with attributes of random types and the
// behaviour on one of them) and 10,000 random objects with random values.
TEST_F(PackageReaderTest, RandomPackagesReadBackAsWritten) {
  std::mt19937 random(20261206);
  const auto draw = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const ComPtr<INvVexaReader> reader = CreateObject<NvVexaReader>();
  for (int package = 0; package < 4; ++package) {
    const int classCount = 1 + draw(4);
    const auto build = [&](const ComPtr<INvVexaSchema>& schema) {
      ComPtr<INvVexaClass> parent;
      for (int k = 0; k < classCount; ++k) {
        const auto made = schema.Classes().Add(Bstr::FromUtf8("C" + std::to_string(k)));
        if (parent) made.PutParentClass(parent);
        for (int a = draw(8); a > 0; --a)
          made.CurrentClassAttributes()
              .Add(Bstr::FromUtf8("a" + std::to_string(k) + "_" + std::to_string(a)))
              .TypeDefinition()
              .PutValueType(static_cast<DataTypeEnum>(1 + draw(21)));
        parent = made;
      }
      const auto tracked = schema.ClassesBehaviors().Add(mtEmbedded, u"urn:b#T", u"", false);
      tracked.Attributes().Add(u"v").TypeDefinition().PutValueType(dtDouble);
      schema.Classes().Item(draw(classCount)).CurrentClassBehaviors().Add(tracked, muNo);
    };
    const std::string written =
        Write("random.vexa", build, [&](const auto& data, const auto& schema) {
          std::string objects;
          for (int k = 0; k < 2500; ++k) {
            const auto object = data.ObjectWriter().NewObject(
                Bstr::FromUtf8("C" + std::to_string(draw(classCount))),
                Bstr::FromUtf8("o" + std::to_string(k)));
            FillObject(object, schema, [&](DataTypeEnum type, const Bstr&) {
              Variant value = SampleValue(type, draw(2));
              if (draw(4) == 0) value = Variant();  // not given
              return value;
            });
            object.Save();
            objects += Describe(object, schema) + "\n";
          }
          return objects;
        });
    EXPECT_EQ(Read("random.vexa", reader), written);
    fs::remove(scratch_.File("random.vexa"));
  }
}

// A package of the chain schema (URI "urn:t") whose instance document is
// `envelopeContent` inside the envelope, zipped with the library's zipper.
std::string CraftedPackage(const nv_test::ScratchFolder& scratch, const std::string& content,
                           const std::string& location = "VEXA_Schema.xsd") {
  const std::string folder = scratch.File("crafted");
  fs::remove_all(folder);
  fs::create_directory(folder);
  const ComPtr<INvVexaSchema> schema = MakeSchema();
  schema.PutSchemaURI(u"urn:t");
  ChainSchema(schema);
  MakeSchemaWriter(schema, false).Save(Bstr::FromUtf8(folder + "/VEXA_Schema.xsd"));
  nv_test::WriteText(
      folder + "/VEXA_Data.xml",
      R"(<SOAP_ENV:Envelope xmlns:SOAP_ENV="http://schemas.xmlsoap.org/soap/envelope/")"
      R"( xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xmlns:tns="urn:t")"
      R"( xmlns:vexa="http://www.norvane.com/vexa/std/ns/core/1.0" xmlns:NS1="urn:b")"
      R"( xsi:schemaLocation="urn:t )" +
          location + "\">" + content + "</SOAP_ENV:Envelope>");
  const std::string archive = scratch.File("crafted.vexa");
  fs::remove(archive);
  const ComPtr<ITAbZipper> zipper = CreateObject<CNvTAbZipper>();
  zipper.PutFileName(Bstr::FromUtf8(archive));
  zipper.PutBaseDirectory(Bstr::FromUtf8(folder));
  zipper.AddFiles(u"*.*");
  zipper.Save();
  zipper.CloseArchive();
  return archive;
}

std::string Body(const std::string& objects) {
  return "<SOAP_ENV:Body>" + objects + "</SOAP_ENV:Body>";
}

std::string Leaf(const std::string& content,
                 const std::string& attributes = R"( xsi:type="tns:Leaf" id="L")") {
  return "<vexa:object" + attributes + ">" + content + "</vexa:object>";
}

TEST_F(PackageReaderTest, RefusesEachFaultOfAnInstanceDocument) {
  const std::string header =
      R"(<SOAP_ENV:Header><i:x xmlns:i="urn:i" vexa:mustUnderstand="yes">v</i:x></SOAP_ENV:Header>)";
  const struct {
    std::string content;
    std::string message;
  } rows[] = {
      {Body(Leaf("", R"( xsi:type="tns:Nope" id="L")")), "Unknown class Nope"},
      {Body(Leaf("<tns:zz>1</tns:zz>")), "Unknown Attribute \"zz\" for class \"Leaf\""},
      {Body(Leaf("", R"( xsi:type="vexa:Leaf" id="L")")),
       "Invalid Class Name namespace, expecting \"urn:t\" "
       "found\"http://www.norvane.com/vexa/std/ns/core/1.0\""},
      {Body(Leaf("", R"( id="L")")), "Invalid Vexa: Required attribute \"type\" is missing"},
      {Body(Leaf("", R"( xsi:type="tns:Leaf")")),
       "Invalid Vexa: Required attribute \"id\" is missing"},
      {Body(Leaf("<tns:t10/>")),
       "Invalid Vexa: Empty elements are allowed only for string and XML attributes"},
      {Body(Leaf("<tns:t10> </tns:t10>")),
       "Invalid Vexa: Empty elements are allowed only for string and XML attributes"},
      {Body(Leaf(R"(<tns:t11 xsi:nil="true"/>)")),
       "Invalid Vexa: According to schema, Null value is not allowed for attribute \"t11\""},
      {Body(Leaf(R"(<tns:t20 href="#"/>)")), "Invalid empty object reference"},
      {Body(Leaf("<tns:t10>x<b/></tns:t10>")),
       "Invalid Vexa: Unexpected token type ttStartElementName = \"|b\" expecting ttEndElement"},
      {Body(Leaf("<NS1:Other/>")),
       "Object of class \"Leaf\" does not support behavior \"urn:b#Other\""},
      {Body("<tns:x/>"), "Invalid Vexa: Unexpected token under element \"object\""},
      {"<tns:x/>", "Invalid Vexa: Required element \"Body\" is missing"},
      {header + Body(""),
       "a \"mustUnderstand\" infoItem was not registered as understood. The reading cannot "
       "continue"},
      {R"(<SOAP_ENV:Header><i:x xmlns:i="urn:i" vexa:mustUnderstand="1">v</i:x></SOAP_ENV:Header>)",
       "Invalid value \"1\" for attribute \"mustUnderstand\""},
      {Body(Leaf("<tns:t1>x</tns:t2>")), "expected end of tag 'tns:t1'"},
  };
  const ComPtr<INvVexaReader> reader = CreateObject<NvVexaReader>();
  for (const auto& row : rows) {
    const Bstr archive = Bstr::FromUtf8(CraftedPackage(scratch_, row.content));
    EXPECT_EQ(MessageOfFailure([&] {
                reader.OpenVexaArchiveFile(archive, true);
                const auto objects = reader.DataReader().ObjectReader().GetObjectIterator();
                for (; !objects.AtEnd(); objects.Next()) objects.GetObject();
              }).substr(0, row.message.size()),
              row.message)
        << row.content;
    reader.Close();
  }
  EXPECT_EQ(MessageOfFailure([&] {
              reader.OpenVexaArchiveFile(
                  Bstr::FromUtf8(CraftedPackage(scratch_, Body(""), "../x.xsd")), true);
            }),
            "Schema location \"../x.xsd\" leaves the folder of the package");
  reader.Close();
  // The same must-understand item, read when validation is off.
  reader.PutValidateMustUnderstand(false);
  reader.OpenVexaArchiveFile(Bstr::FromUtf8(CraftedPackage(scratch_, header + Body(""))), true);
  EXPECT_EQ(DescribeInfo(reader.DataReader().Info()), "{urn:i}x!=v\n");
  EXPECT_TRUE(reader.DataReader().ObjectReader().GetObjectIterator().AtEnd());
}

// Hostile packages are refused when opened, for an unsafe entry anywhere in
// the archive, writing nothing. (Hostile XML and an entry larger than it
// declares are the pull parser's and the entry reader's refusals.)
TEST_F(PackageReaderTest, RefusesHostilePackages) {
  const ComPtr<INvVexaReader> reader = CreateObject<NvVexaReader>();
  const auto refusal = [&](const std::string& archive) {
    const std::string message = MessageOfFailure([&] {
      reader.OpenVexaArchiveFile(Bstr::FromUtf8(archive), true);
      reader.DataReader().ObjectReader().GetObjectIterator();
    });
    reader.Close();
    return message;
  };
  nv_archive_test::Scratch dir;
  for (const auto& hostile : nv_archive_test::kCases) {
    if (std::string_view(hostile.label) == "larger_than_declared") continue;  // never read
    const std::string archive = dir / (std::string(hostile.label) + ".vexa");
    nv_test::WriteText(archive, hostile.archive(dir));
    std::string expected = hostile.message;
    if (const size_t at = expected.find('@'); at != std::string::npos)
      expected.replace(at, 1, archive);
    EXPECT_EQ(refusal(archive), expected) << hostile.label;
  }
  EXPECT_FALSE(fs::exists(scratch_.File("x")));  // where a climbing entry would land
}

}  // namespace
}  // namespace nv::test
