// The instance document's frame (Envelope, Header, Body), byte for byte.
#include "writer/writer_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace nv::writer_test {
namespace {

const std::string kMarker = "<vexa:containsMustUnderstand SOAP_ENV:mustUnderstand=\"1\"/>";

// The marker comes from a marked item or from the package; an empty saved
// Info is an empty Header right before the Body.
TEST(InfoHeaderTest, SavedInfoWithAndWithoutItemsAndTheMustUnderstandMarker) {
  using Fill = std::function<void(const ComPtr<INvVexaInfo>&)>;
  const Fill entry = [](const auto& info) {
    info.template as<INvVexaInfoCRaw>().AddContainsMustUnderstandEntry();
  };
  const auto item = [](MustUnderstandEnum mark) -> Fill {
    return [mark](const auto& info) {
      SetItem(info, u"i", u"urn:a", dtShort, Variant(int16_t{7}), mark);
    };
  };
  const std::string withNs = "<SOAP_ENV:Header xmlns:NS1=\"urn:a\">";
  const std::string plain = "<NS1:i xsi:type=\"short\">7</NS1:i>";
  const std::pair<std::vector<Fill>, std::string> cases[] = {
      {{}, "<SOAP_ENV:Header>"},
      {{entry}, "<SOAP_ENV:Header>" + kMarker},
      {{item(muNo)}, withNs + plain},
      {{item(muYes)},
       withNs + kMarker + "<NS1:i xsi:type=\"short\" vexa:mustUnderstand=\"yes\">7</NS1:i>"},
      {{item(muNo), entry}, withNs + kMarker + plain},
  };
  for (const auto& [fills, header] : cases) {
    const std::string written = WrittenDocument([&](const auto& data) {
      for (const Fill& fill : fills) fill(data.Info());
      data.Info().Save();
    });
    EXPECT_EQ(written, DocumentStart() + header + "</SOAP_ENV:Header>" + kBodyStart + kFrameEnd);
  }
}

// A refused Save writes nothing of the Header (that a fixed Info then saves is
// in the package read-back test). The Envelope declares each class behaviour
// namespace once, and the core namespace as its own.
TEST(InfoHeaderTest, SaveRefusalsLeaveTheDocumentAsItWas) {
  const auto addBehaviors = [](const ComPtr<INvVexaSchema>& schema) {
    for (const char16_t* uri : {u"urn:b1#first", u"urn:b1#second",
                                u"http://www.norvane.com/vexa/std/ns/core/1.0#core",
                                u"urn:b2#third"})
      schema.ClassesBehaviors().Add(mtEmbedded, Bstr(uri), Bstr(), false);
  };
  using Before = std::function<void(const ComPtr<INvVexaDataWriter>&)>;
  const std::tuple<Before, const char*, std::string> cases[] = {
      {[](const auto& data) { data.Info().Save(); }, "Cannot save Info. Info was already saved.",
       "<SOAP_ENV:Header></SOAP_ENV:Header>"},
      {[](const auto& data) { data.ObjectWriter(); },
       "Cannot save Info after getting object writer from data writer.", ""},
      {[](const auto& data) { data.Info().GetInfoItem(Bstr(u"n"), Bstr(u"urn:a")); },
       "Invalid VexaDataType value (0)", ""},
      {[](const auto& data) { SetItem(data.Info(), u"n", u"urn:a", dtInt, Variant(u"x")); },
       "Failed to convert Variant value to the specified type", ""},
  };
  for (const auto& [before, message, header] : cases) {
    const std::string written = WrittenDocument(
        [&](const auto& data) {
          before(data);
          EXPECT_EQ(FailureOf([&] { data.Info().Save(); }), message);
        },
        addBehaviors);
    EXPECT_EQ(written, DocumentStart(" xmlns:NS1=\"urn:b1\" xmlns:NS2=\"urn:b2\"") + header +
                           kBodyStart + kFrameEnd);
  }
}

}  // namespace
}  // namespace nv::writer_test
