// Writes the bundled sample font (tests/data/sample.ttf) from the test font
// builder:  make_sample_font OUT
#include <cstdio>

#include "tests/support/font_builder.h"
#include "tests/support/temp_dir.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sample_font OUT\n");
    return 2;
  }
  testsupport::WriteBytes(argv[1], testsupport::SampleFont().Build());
  return 0;
}
