#include "editor/checksum_binding.h"

namespace editor {
namespace {

void RouteToSink(const char* caption, const char* text, void* context) {
  static_cast<shell::MessageSink*>(context)->Show(shell::Message{caption ? caption : "", text ? text : ""});
}

}  // namespace

bool ChecksumLibrary::Bind(shell::MessageSink& messages, const std::string& fileName) {
  Release();
  if (!library_.Load(fileName)) return false;
  tableSum_ = library_.ResolveAs<CalcTblCheckSumFunction>("CalcTblCheckSum");
  headSum_ = library_.ResolveAs<CalcHeadCheckSumFunction>("CalcHeadCheckSum");
  setHandler_ = library_.ResolveAs<SumkitSetMessageHandlerFunction>("SumkitSetMessageHandler");
  if (setHandler_) setHandler_(&RouteToSink, &messages);
  return true;
}

void ChecksumLibrary::Release() {
  if (setHandler_) setHandler_(nullptr, nullptr);
  setHandler_ = nullptr;
  tableSum_ = nullptr;
  headSum_ = nullptr;
  library_.Unload();
}

uint32_t ChecksumLibrary::TableSum(const std::string& fontPath, uint32_t offset, uint32_t length) const {
  return tableSum_ ? tableSum_(fontPath.c_str(), static_cast<int32_t>(offset), length) : 0;
}

uint32_t ChecksumLibrary::HeadSum(const std::string& fontPath, uint32_t offset) const {
  return headSum_ ? headSum_(fontPath.c_str(), static_cast<int32_t>(offset)) : 0;
}

shell::Message LibraryNotLoadedMessage(const std::string& fileName) {
  return shell::Message{"LoadLibrary Error", "Could not load " + fileName};
}

}  // namespace editor
