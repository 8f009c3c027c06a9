#include "core/io/byte_order.h"

#include <algorithm>
#include <cstring>

namespace core {

bool ByteWriter::Overwrite(uint64_t offset, std::span<const uint8_t> data) {
  if (offset > bytes_.size() || data.size() > bytes_.size() - offset) return false;
  if (!data.empty()) std::memcpy(bytes_.data() + offset, data.data(), data.size());
  return true;
}

CopyStatus ByteWriter::AppendFrom(const ReadableFile& file, uint64_t offset, uint64_t length, uint64_t* copied) {
  *copied = 0;
  if (offset >= file.size()) return CopyStatus::kOk;
  const uint64_t present = std::min(length, file.size() - offset);
  const size_t start = bytes_.size();
  bytes_.resize(start + static_cast<size_t>(present));
  const size_t got = file.ReadAt(offset, bytes_.data() + start, static_cast<size_t>(present));
  bytes_.resize(start + got);
  *copied = got;
  return got == present && file.read_error() == 0 ? CopyStatus::kOk : CopyStatus::kReadFailed;
}

}  // namespace core
