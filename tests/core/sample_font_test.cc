#include <gtest/gtest.h>

#include "tests/support/font_builder.h"
#include "tests/support/temp_dir.h"

namespace {

// The bundled sample font is what the builder makes; rebuild it with
// make_sample_font when the builder's sample changes.
TEST(SampleFont, BundledFileMatchesTheBuilder) {
  auto bundled = testsupport::ReadBytes(std::string(SUITE_SOURCE_DIR) + "/tests/data/sample.ttf");
  EXPECT_EQ(bundled, testsupport::SampleFont().Build());
  EXPECT_EQ(testsupport::WholeFileSum(bundled), 0xB1B0AFBAu);
}

}  // namespace
