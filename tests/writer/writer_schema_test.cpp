// The package writer's schema is made once, with the writer's own
// initialization data (which carries the proxy for behaviour downloads).
#include "writer/writer.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

TEST(WriterSchema, IsMadeOnceWithTheWritersInitializationData) {
  ComPtr<INvVexaWriter> writer = CreateObject<NvVexaWriter>();
  ComPtr<INvVexaSchema> schema = writer.Schema();
  EXPECT_EQ(writer.Schema(), schema);
  ComPtr<INvVexaInitializationData> data = writer.InitializationData();
  EXPECT_EQ(schema.as<INvVexaSchemaCRaw>().GetInitializationData(), data);
}

}  // namespace
}  // namespace nv
