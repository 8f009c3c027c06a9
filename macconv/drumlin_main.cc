// drumlin: the Mac font converter. For now it runs its commands headless;
// without a command it prints its usage.
#include <cstdio>
#include <string>
#include <vector>

#include "macconv/headless.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  macconv::StreamMessages messages(stderr);
  std::optional<int> status = macconv::RunHeadless(args, messages);
  if (status && *status != 2) return *status;
  std::fputs(macconv::UsageText("drumlin").c_str(), stderr);
  return 2;
}
