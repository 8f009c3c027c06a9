// The converter's command line: the program path, a file to extract from and
// the quit option /Q, parsed by one walk over the text as the window and a
// second start both receive it; and the help files found beside the program
// path recorded as "myself".
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace macconv {

// States of the command-line walk.
enum class ParseState { kStart, kOption, kAfterSpace, kToken, kEnd, kError };

// Tokens this long or longer make the command line invalid (the longest path
// the system accepts).
inline constexpr size_t kTokenLimit = 4096;

struct TokenResult {
  std::string token;  // the token without its double quotes; empty on error
  size_t next = 0;    // position after the token
  ParseState state = ParseState::kError;  // kEnd, kAfterSpace or kError
};

// Copies characters from `position` up to the end of the text or a blank
// outside double quotes. Each double quote switches between inside and outside
// quotes and is dropped, so a quoted name may hold blanks. A token that ends
// inside quotes, or is kTokenLimit characters or longer, gives kError.
TokenResult ReadToken(std::string_view text, size_t position);

struct CommandLine {
  bool valid = false;
  // The program path as the command line gives it, without quotes: what the
  // window records as "myself" when the line is valid.
  std::string programName;
  // The last token read. A token completed before an error stays here.
  std::string fileName;
  bool quit = false;  // /Q, -Q, "/q" or "-q" was given
};

// Walks the text once. The program name is the first quoted text, or the
// text up to the first blank when it is not quoted. After it, "-" starts an
// option, and so does "/" when at most one character follows it before a
// blank, a quote or the end (so "/q" is an option and "/home/font.bin" a
// file name); a double quote right before the option marker quotes the
// option. Q or q sets the quit flag, any other option letter makes the line
// invalid. Every other word is a token (a file name); the last one counts.
CommandLine ParseCommandLine(std::string_view text);

// The help file `helpFileName` beside the program recorded as "myself":
// double quotes become blanks (blanks at either end are dropped), the value is
// cut at its last separator ('/', and '\\' too when backslashIsSeparator) and
// the name joined to that folder with the same separator. A value without a
// separator stays whole and the name is joined to it.
std::string HelpFilePath(std::string_view myself, std::string_view helpFileName, bool backslashIsSeparator);

// Where the help file `helpFileName` of the program recorded as `myself` is:
// beside the program (HelpFilePath), else in an installed tree's
// <prefix>/share/drumlin beside <prefix>/bin; when neither is a file
// (`isFile`), the path beside the program.
std::string FindHelpFile(std::string_view myself, std::string_view helpFileName, bool backslashIsSeparator,
                         const std::function<bool(const std::string&)>& isFile);

inline constexpr std::string_view kHelpTextName = "Drumlin.txt";
inline constexpr std::string_view kHelpDocumentName = "Drumlin.html";

}  // namespace macconv
