// What went wrong, or what a reader or writer noticed, said where it is:
// which font of a file, which table, which field. Engines hand problems back;
// only the front ends turn them into message texts.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace core {

enum class Severity : uint8_t {
  kNote,     // worth saying; the result is sound
  kWarning,  // the result is usable, but not everything was as asked
  kError,    // nothing was done, or what was made is not to be used
};

enum class ProblemCode : uint16_t {
  kTableCutShort,      // a table's bytes end early in their file; number = present, limit = wanted
  kFontTooLarge,       // the font would not fit the 32-bit offsets of its directory
  kWriteFailed,        // the output could not be written; systemError
  kReadFailed,         // a source could not be read; systemError, source
  kOpenFailed,         // an input could not be opened (or is no regular file); systemError
  kFileTooLarge,       // an input is larger than its kind may be; number = its size, limit
};

struct Problem {
  int fontIndex = -1;                  // in a collection; -1: the file as a whole
  std::array<uint8_t, 4> tag{};        // the table, or zeros
  std::string field;                   // the field's name, or empty
  Severity severity = Severity::kError;
  ProblemCode code = ProblemCode::kWriteFailed;
  // The arguments the message texts need.
  int systemError = 0;                 // errno, or GetLastError on Windows
  uint64_t number = 0;
  uint64_t limit = 0;
  int source = -1;                     // which of the caller's inputs
};

using Problems = std::vector<Problem>;

inline bool HasError(const Problems& problems) {
  for (const Problem& problem : problems)
    if (problem.severity == Severity::kError) return true;
  return false;
}

}  // namespace core
