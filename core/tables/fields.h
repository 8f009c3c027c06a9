// Named fields. A record's field list (its Fields(io, r), see record.h) gives
// each field its OpenType name and, where the C++ width does not say it, its
// type; `io.Since(v)` marks the fields after it as added by table version v.
// From that one list come, at compile time, the record's field table
//
//   kFieldList<Head>  ->  {"unitsPerEm", kUInt16, offset 18, width 2, since 0}, ...
//
// and from the tables of the tables the suite understands (TableSchemaFor)
// every generic view: the JSON report, the OS/2 tools' INI text, and reading
// or storing a field by its name over a table's bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace core {

enum class FieldType : uint8_t {
  kUInt8,
  kUInt16,
  kInt16,
  kUInt32,
  kInt32,
  kFixed,         // signed 16.16
  kVersion,       // a 16.16 version number (0x00005000 is 0.5); in OS/2 a plain uint16
  kLongDateTime,  // seconds since 1904-01-01, signed 64-bit
  kTag,           // four bytes
  kPanose,        // one byte of the PANOSE classification
  kReserved,      // bytes the format reserves (zero)
};

// What a view does with a field beyond its value.
enum FieldFlags : unsigned {
  kReported = 0,         // the JSON report shows the field (the usual case)
  kNotReported = 1u << 0,  // the JSON report leaves it out
};

struct FieldInfo {
  const char* name = nullptr;  // the OpenType name
  FieldType type = FieldType::kUInt8;
  uint16_t offset = 0;  // from the record's first byte
  uint8_t width = 0;    // bytes
  uint32_t since = 0;   // the first table version that holds the field; 0: every version
  unsigned flags = kReported;
  const char* reportName = nullptr;  // the JSON report's key, where it is not the name

  constexpr const char* reportKey() const { return reportName ? reportName : name; }
  constexpr bool reported() const { return (flags & kNotReported) == 0; }
  constexpr size_t end() const { return size_t{offset} + width; }
  constexpr bool isSigned() const {
    return type == FieldType::kInt16 || type == FieldType::kInt32 || type == FieldType::kFixed ||
           type == FieldType::kLongDateTime;
  }
};

// Builds the field table of a record by walking its field list once.
class FieldLister {
 public:
  constexpr explicit FieldLister(FieldInfo* out) : out_(out) {}
  constexpr size_t count() const { return count_; }

  constexpr void Since(uint32_t version) { since_ = version; }
  constexpr void U8(const uint8_t&, const char* name = nullptr, FieldType type = FieldType::kUInt8,
                    unsigned flags = kReported, const char* reportName = nullptr) {
    Add(name, type, 1, flags, reportName);
  }
  constexpr void U16(const uint16_t&, const char* name = nullptr, FieldType type = FieldType::kUInt16,
                     unsigned flags = kReported, const char* reportName = nullptr) {
    Add(name, type, 2, flags, reportName);
  }
  constexpr void S16(const int16_t&, const char* name = nullptr, FieldType type = FieldType::kInt16,
                     unsigned flags = kReported, const char* reportName = nullptr) {
    Add(name, type, 2, flags, reportName);
  }
  constexpr void U32(const uint32_t&, const char* name = nullptr, FieldType type = FieldType::kUInt32,
                     unsigned flags = kReported, const char* reportName = nullptr) {
    Add(name, type, 4, flags, reportName);
  }
  constexpr void S64(const int64_t&, const char* name = nullptr, FieldType type = FieldType::kLongDateTime,
                     unsigned flags = kReported, const char* reportName = nullptr) {
    Add(name, type, 8, flags, reportName);
  }
  template <size_t N>
  constexpr void Bytes(const std::array<uint8_t, N>&, const char* name = nullptr,
                       FieldType type = N == 4 ? FieldType::kTag : FieldType::kReserved, unsigned flags = kReported,
                       const char* reportName = nullptr) {
    Add(name, type, N, flags, reportName);
  }

 private:
  constexpr void Add(const char* name, FieldType type, size_t width, unsigned flags, const char* reportName) {
    if (out_) out_[count_] = FieldInfo{name, type, offset_, static_cast<uint8_t>(width), since_, flags, reportName};
    ++count_;
    offset_ = static_cast<uint16_t>(offset_ + width);
  }
  FieldInfo* out_;
  size_t count_ = 0;
  uint16_t offset_ = 0;
  uint32_t since_ = 0;
};

template <typename Record>
constexpr size_t FieldCount() {
  FieldLister lister(nullptr);
  const Record record{};
  Record::Fields(lister, record);
  return lister.count();
}

template <typename Record>
constexpr std::array<FieldInfo, FieldCount<Record>()> MakeFieldList() {
  std::array<FieldInfo, FieldCount<Record>()> list{};
  FieldLister lister(list.data());
  const Record record{};
  Record::Fields(lister, record);
  return list;
}

// The field table of a record, in the record's order.
template <typename Record>
inline constexpr auto kFieldList = MakeFieldList<Record>();

// True when every field of the record has a name.
template <typename Record>
constexpr bool AllFieldsNamed() {
  for (const FieldInfo& field : kFieldList<Record>)
    if (field.name == nullptr) return false;
  return true;
}

// The field of that name, at compile time or run time; case counts.
constexpr const FieldInfo* FindField(std::span<const FieldInfo> fields, std::string_view name) {
  for (const FieldInfo& field : fields)
    if (name == field.name) return &field;
  return nullptr;
}

// The bytes that the fields a table of `version` holds cover.
constexpr size_t LayoutSize(std::span<const FieldInfo> fields, uint32_t version) {
  size_t end = 0;
  for (const FieldInfo& field : fields)
    if (field.since <= version && field.end() > end) end = field.end();
  return end;
}

// A field's value in a table's bytes: its bits as an unsigned number, or
// nullopt when the bytes end before the field does.
std::optional<uint64_t> FieldBits(const FieldInfo& field, std::span<const uint8_t> table);
// The same value as a number: signed types widened with their sign.
std::optional<int64_t> FieldNumber(const FieldInfo& field, std::span<const uint8_t> table);
// Stores the low bits of `bits` that fit the field, big-endian. False (and
// nothing stored) when the bytes end before the field does.
bool StoreFieldBits(const FieldInfo& field, uint64_t bits, std::span<uint8_t> table);

// A table that the suite reads field by field: its tag, its fields (for
// `name` and `cmap` the header; their records have field lists of their
// own), the version its bytes declare, and the order in which the views
// list the fields.
struct TableSchema {
  const char* tag;  // four characters
  std::span<const FieldInfo> fields;
  // The version that decides which fields the bytes hold: the `version`
  // field as the table stores it, or 0 for a table without versions.
  uint32_t (*version)(std::span<const uint8_t> table);
  // The fields in the order the views list them, as indexes into `fields`;
  // empty: the table's own order.
  std::span<const uint8_t> listOrder;

  // Whether a table of `version` holds the field.
  bool Holds(const FieldInfo& field, uint32_t tableVersion) const { return field.since <= tableVersion; }
  // The bytes that the fields of `version` cover.
  size_t LayoutSize(uint32_t tableVersion) const { return core::LayoutSize(fields, tableVersion); }
  // The largest layout: every field of every version.
  size_t MaxSize() const { return LayoutSize(UINT32_MAX); }
  // Visits the fields in list order.
  template <typename Visit>
  void ForEachListed(Visit&& visit) const {
    if (listOrder.empty()) {
      for (const FieldInfo& field : fields) visit(field);
    } else {
      for (uint8_t index : listOrder) visit(fields[index]);
    }
  }
};

// The schema of the table with that tag (four bytes), or null.
const TableSchema* TableSchemaFor(std::span<const uint8_t, 4> tag);
const TableSchema* TableSchemaFor(std::string_view tag);
// Every schema, in a fixed order: head, hhea, vhea, maxp, OS/2, post, name, cmap.
std::span<const TableSchema> TableSchemas();

}  // namespace core
