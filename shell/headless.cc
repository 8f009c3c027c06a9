#include "shell/headless.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace shell {

const char* SuiteVersion() { return SUITE_VERSION; }

HeadlessCall ReadHeadless(std::span<const HeadlessOption> options, const std::vector<std::string>& arguments) {
  HeadlessCall call;
  if (arguments.empty() || arguments[0].rfind("--", 0) != 0) return call;
  call.kind = HeadlessCall::Kind::kUsage;
  if (arguments.size() == 1 && arguments[0] == "--help") call.kind = HeadlessCall::Kind::kHelp;
  if (arguments.size() == 1 && arguments[0] == "--version") call.kind = HeadlessCall::Kind::kVersion;
  for (const HeadlessOption& option : options) {
    if (arguments[0] != option.name) continue;
    // "--" ends the options: what follows it is a name, even one that
    // starts with "-"; the "--" itself is no operand.
    std::vector<std::string> operands(arguments.begin() + 1, arguments.end());
    if (auto end = std::find(operands.begin(), operands.end(), "--"); end != operands.end()) operands.erase(end);
    const size_t given = operands.size();
    if (option.more ? given < option.operands : given != option.operands) return call;
    call.kind = HeadlessCall::Kind::kCommand;
    call.option = &option;
    call.operands = std::move(operands);
    call.endOfOptions = given;
    for (size_t i = 0; i + 1 < arguments.size(); ++i)
      if (arguments[i + 1] == "--") {
        call.endOfOptions = i;
        break;
      }
    return call;
  }
  return call;
}

int CloseStandardStreams(int status, int failure, const char* program) {
  errno = 0;
  int outError = 0;
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) outError = errno ? errno : EIO;
  if (std::fclose(stdout) != 0 && outError == 0) outError = errno ? errno : EIO;
  if (outError != 0)
    std::fprintf(stderr, "%s: standard output could not be written: %s (%d)\n", program, std::strerror(outError),
                 outError);
  bool errorFailed = std::fflush(stderr) != 0 || std::ferror(stderr);
  if (std::fclose(stderr) != 0) errorFailed = true;
  return outError != 0 || errorFailed ? failure : status;
}

std::string CrlfToLf(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out.push_back(text[i]);
  }
  return out;
}

void StreamLog::Append(std::string_view text) {
  if (text.empty()) return;
  // A CR that ended the last piece is written only now, unless this piece
  // starts with the LF that makes it a line end.
  if (pendingCr_ && text.front() != '\n') std::fputc('\r', out_);
  pendingCr_ = text.back() == '\r';
  if (pendingCr_) text.remove_suffix(1);
  // The runs between CRLFs go out as they stand, each CRLF as its LF.
  for (size_t start = 0;;) {
    size_t crlf = text.find("\r\n", start);
    size_t end = crlf == std::string_view::npos ? text.size() : crlf;
    std::fwrite(text.data() + start, 1, end - start, out_);
    if (crlf == std::string_view::npos) break;
    start = crlf + 1;
  }
}

void StreamLog::Finish() {
  if (pendingCr_) std::fputc('\r', out_);
  pendingCr_ = false;
  std::fflush(out_);
}

void StreamMessages::Show(const Message& message) {
  // The detail a window shows under the text (the system's reason for a
  // failure, the file written) follows it on the same line.
  std::string_view detail = message.detail;
  if (detail.ends_with('.')) detail.remove_suffix(1);
  if (detail.empty())
    std::fprintf(out_, "%s: %s\n", message.caption.c_str(), message.text.c_str());
  else
    std::fprintf(out_, "%s: %s (%.*s)\n", message.caption.c_str(), message.text.c_str(),
                 static_cast<int>(detail.size()), detail.data());
  std::fflush(out_);
}

}  // namespace shell
