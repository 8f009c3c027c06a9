// Where a converted table is written: an appending output whose leading
// records can be filled in once the subtables behind them are placed. One
// form keeps the bytes in memory, the other writes a work file through a
// large buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/output_file.h"

namespace macconv {

class TableOutput {
 public:
  virtual ~TableOutput() = default;
  virtual void Append(std::span<const uint8_t> bytes) = 0;
  // Overwrites bytes already appended.
  virtual void Patch(uint64_t offset, std::span<const uint8_t> bytes) = 0;
  virtual uint64_t size() const = 0;
};

class MemoryTableOutput : public TableOutput {
 public:
  void Append(std::span<const uint8_t> bytes) override { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }
  void Patch(uint64_t offset, std::span<const uint8_t> bytes) override;
  uint64_t size() const override { return bytes_.size(); }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

// Writes an existing file from its start (what it held is cut away). The
// first failure sticks: later calls do nothing and Close() reports it.
class FileTableOutput : public TableOutput {
 public:
  FileTableOutput() = default;
  ~FileTableOutput() override;
  FileTableOutput(const FileTableOutput&) = delete;
  FileTableOutput& operator=(const FileTableOutput&) = delete;

  // Writes into the open file `fd` (its own copy of it), emptied first.
  bool Open(int fd);
  void Append(std::span<const uint8_t> bytes) override { writer_.Write(bytes.data(), bytes.size()); }
  void Patch(uint64_t offset, std::span<const uint8_t> bytes) override {
    writer_.WriteAt(offset, bytes.data(), bytes.size());
  }
  uint64_t size() const override { return writer_.size(); }
  // Writes what is buffered and closes; false (with errno in error()) after
  // any failure.
  bool Close();
  int error() const { return error_ ? error_ : writer_.error(); }

 private:
  int fd_ = -1;
  int error_ = 0;  // failures of opening and closing
  platform::BufferedWriter writer_;
};

}  // namespace macconv
