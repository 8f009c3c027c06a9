// A folder of its own for every bad-input case: the programs under test are
// copied into bin/ (so their settings files land there, never beside the
// build's programs), commands run in work/, and work files go to tmp/.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace badinput {

using Bytes = std::vector<uint8_t>;

// What a console tool's exit status of -1 reads as in a shell.
constexpr int kToolFailure = 255;
constexpr int kToolComplete = 1;

struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

class ProgramBox {
 public:
  ProgramBox();

  std::string Work(const std::string& name) const { return work_ + "/" + name; }
  std::string Bin(const std::string& name) const { return bin_ + "/" + name; }
  // A file of the program folder as the programs name it in messages (on
  // Windows the folder comes from GetModuleFileNameW, with backslashes).
  std::string BinAsNamed(const std::string& name) const;
  const std::string& tmp() const { return tmp_; }

  // Writes a file into the work folder (or, with a folder part, below the box).
  void Put(const std::string& name, const Bytes& bytes) const;
  void PutText(const std::string& name, const std::string& text) const;
  Bytes Get(const std::string& name) const;
  std::string GetText(const std::string& name) const;
  bool Has(const std::string& name) const;

  // Runs `program` (copied into bin/ on first use; quillet brings
  // libsumkit.so along) in the work folder. Each argument is passed as one
  // word.
  ProgramRun Run(const std::string& program, const std::vector<std::string>& arguments);

  // Copies `program` into bin/ (quillet with libsumkit.so) unless it is
  // there already; returns its path there.
  std::string Install(const std::string& program);

  std::vector<std::string> WorkFiles() const;
  std::vector<std::string> TmpFiles() const;

 private:

  testsupport::TempDir dir_;
  std::string bin_, work_, tmp_;
};

}  // namespace badinput
