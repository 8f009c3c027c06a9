#include "macconv/session/command_line.h"

#include "platform/paths.h"

namespace macconv {
namespace {

bool EndsWord(char c) { return c == ' ' || c == '"'; }

// Whether an option marker stands at `at`: "-" always; "/" only when at most
// one character follows it before a blank, a double quote or the end, so an
// absolute path is never taken for an option.
bool OptionMarkerAt(std::string_view text, size_t at) {
  if (at >= text.size()) return false;
  if (text[at] == '-') return true;
  if (text[at] != '/') return false;
  size_t run = 0;
  for (size_t i = at + 1; i < text.size() && !EndsWord(text[i]); ++i) {
    if (++run > 1) return false;
  }
  return true;
}

}  // namespace

TokenResult ReadToken(std::string_view text, size_t position) {
  TokenResult result;
  std::string token;
  bool inQuotes = false;
  while (position < text.size()) {
    char c = text[position];
    if (c == '"') {
      inQuotes = !inQuotes;
      ++position;
      continue;
    }
    if (c == ' ' && !inQuotes) break;
    token.push_back(c);
    ++position;
  }
  result.next = position;
  if (inQuotes || token.size() >= kTokenLimit) {
    result.state = ParseState::kError;
    return result;
  }
  result.token = std::move(token);
  result.state = position == text.size() ? ParseState::kEnd : ParseState::kAfterSpace;
  return result;
}

CommandLine ParseCommandLine(std::string_view text) {
  CommandLine line;
  ParseState state = ParseState::kStart;
  bool nameDone = false;      // the quoted program name has been read
  bool pastName = false;      // the walk is past the program name
  bool quotedOption = false;  // an option opened with a double quote
  size_t position = 0;

  auto readToken = [&] {
    state = ParseState::kToken;
    TokenResult read = ReadToken(text, position);
    position = read.next;
    state = read.state;
    if (state != ParseState::kError) line.fileName = std::move(read.token);
  };

  while (position < text.size() && state != ParseState::kEnd && state != ParseState::kError) {
    char c = text[position];
    bool afterName = nameDone || pastName;
    if (c == ' ') {
      while (position < text.size() && text[position] == ' ') ++position;
      if (!nameDone) pastName = true;
      state = ParseState::kAfterSpace;
    } else if (c == '"' && !afterName) {
      size_t close = text.find('"', position + 1);
      if (close == std::string_view::npos) {
        state = ParseState::kError;
      } else {
        line.programName = std::string(text.substr(position + 1, close - position - 1));
        nameDone = pastName = true;
        position = close + 1;
      }
    } else if (c == '"') {
      if (OptionMarkerAt(text, position + 1)) {
        quotedOption = true;
        state = ParseState::kOption;
        position += 2;
      } else if (!quotedOption) {
        readToken();
      } else {
        quotedOption = false;
        ++position;
      }
    } else if (afterName && OptionMarkerAt(text, position)) {
      state = ParseState::kOption;
      ++position;
    } else if (state == ParseState::kOption) {
      if (c == 'Q' || c == 'q') {
        line.quit = true;
      } else {
        state = ParseState::kError;
      }
      ++position;
    } else if (state == ParseState::kAfterSpace) {
      readToken();
    } else {
      // The program name without quotes, character by character.
      if (!afterName) line.programName.push_back(c);
      ++position;
    }
  }
  line.valid = state != ParseState::kError;
  return line;
}

std::string HelpFilePath(std::string_view myself, std::string_view helpFileName, bool backslashIsSeparator) {
  std::string value(myself);
  for (char& c : value) {
    if (c == '"') c = ' ';
  }
  size_t first = value.find_first_not_of(' ');
  size_t last = value.find_last_not_of(' ');
  value = first == std::string::npos ? std::string() : value.substr(first, last - first + 1);

  size_t cut = platform::LastSeparator(value, backslashIsSeparator);
  char separator = '/';
  if (cut != std::string::npos) {
    separator = value[cut];
    value.resize(cut);
  } else if (backslashIsSeparator) {
    separator = '\\';
  }
  value.push_back(separator);
  value.append(helpFileName);
  return value;
}

std::string FindHelpFile(std::string_view myself, std::string_view helpFileName, bool backslashIsSeparator,
                         const std::function<bool(const std::string&)>& isFile) {
  std::string beside = HelpFilePath(myself, helpFileName, backslashIsSeparator);
  if (isFile(beside)) return beside;
  std::string installed = HelpFilePath(myself, "../share/drumlin/" + std::string(helpFileName), backslashIsSeparator);
  return isFile(installed) ? installed : beside;
}

}  // namespace macconv
