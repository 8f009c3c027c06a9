#include "tests/badinput/program_box.h"

#include <algorithm>
#include <filesystem>

#include "editor/model/checksum_binding.h"

namespace fs = std::filesystem;

namespace badinput {
namespace {

std::string Quoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) {
    if (c == '\'') quoted += "'\\''";
    else quoted += c;
  }
  return quoted + "'";
}

}  // namespace

ProgramBox::ProgramBox() : bin_(dir_.File("bin")), work_(dir_.File("work")), tmp_(dir_.File("tmp")) {
  fs::create_directory(bin_);
  fs::create_directory(work_);
  fs::create_directory(tmp_);
}

void ProgramBox::Put(const std::string& name, const Bytes& bytes) const { testsupport::WriteBytes(Work(name), bytes); }

void ProgramBox::PutText(const std::string& name, const std::string& text) const {
  testsupport::WriteText(Work(name), text);
}

Bytes ProgramBox::Get(const std::string& name) const { return testsupport::ReadBytes(Work(name)); }
std::string ProgramBox::GetText(const std::string& name) const { return testsupport::ReadText(Work(name)); }
bool ProgramBox::Has(const std::string& name) const { return testsupport::Exists(Work(name)); }

std::string ProgramBox::BinAsNamed(const std::string& name) const {
  std::string folder = bin_;
#if defined(_WIN32)
  std::replace(folder.begin(), folder.end(), '/', '\\');
#endif
  return folder + "/" + name;
}

std::string ProgramBox::Install(const std::string& program) {
  std::string file = program.find('.') == std::string::npos ? testsupport::ProgramFile(program) : program;
  if (!testsupport::Exists(Bin(file))) fs::copy_file(testsupport::BinFolder() + "/" + file, Bin(file));
  if (program == "quillet") Install(editor::kChecksumLibraryName);
  return Bin(file);
}

ProgramRun ProgramBox::Run(const std::string& program, const std::vector<std::string>& arguments) {
  Install(program);
  std::string line = "cd " + Quoted(work_) + " && TMPDIR=" + Quoted(tmp_) + " " + Quoted(Bin(program));
  for (const std::string& argument : arguments) line += " " + Quoted(argument);
  testsupport::CommandResult result = testsupport::RunCommand(line);
  return ProgramRun{result.status, result.out, result.err};
}

std::vector<std::string> ProgramBox::WorkFiles() const { return testsupport::ListFolder(work_); }
std::vector<std::string> ProgramBox::TmpFiles() const { return testsupport::ListFolder(tmp_); }

}  // namespace badinput
