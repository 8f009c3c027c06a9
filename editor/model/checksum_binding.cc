#include "editor/model/checksum_binding.h"

namespace editor {

void RouteLibraryMessage(const char* caption, const char* text, void* context) {
  auto* library = static_cast<ChecksumLibrary*>(context);
  ++library->failures_;
  library->messages_->Show(shell::Message{caption ? caption : "", text ? text : ""});
}

bool ChecksumLibrary::Bind(shell::MessageSink& messages, const std::string& fileName) {
  Release();
  if (!library_.Load(fileName)) return false;
  tableSum_ = library_.ResolveAs<CalcTblCheckSumFunction>("CalcTblCheckSum");
  headSum_ = library_.ResolveAs<CalcHeadCheckSumFunction>("CalcHeadCheckSum");
  setHandler_ = library_.ResolveAs<SumkitSetMessageHandlerFunction>("SumkitSetMessageHandler");
  messages_ = &messages;
  failures_ = 0;
  if (setHandler_) setHandler_(&RouteLibraryMessage, this);
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
