#include "editor/render/report_json.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <optional>

#include "core/tables/cmap.h"
#include "core/tables/fields.h"
#include "core/tables/head.h"
#include "core/tables/hhea.h"
#include "core/tables/maxp.h"
#include "core/tables/name.h"
#include "core/tables/os2.h"
#include "core/text/utf8.h"
#include "editor/render/name_string.h"
#include "shell/headless.h"

namespace editor {
namespace {

// Builds one JSON value; members and elements are separated as they come.
class Json {
 public:
  Json& Open(char bracket) {
    Separate();
    text_.push_back(bracket);
    first_ = true;
    return *this;
  }
  Json& Close(char bracket) {
    text_.push_back(bracket);
    first_ = false;
    return *this;
  }
  Json& Key(const char* name) {
    Separate();
    text_ += JsonString(name);
    text_.push_back(':');
    first_ = true;  // the value follows without a comma
    return *this;
  }
  Json& Number(int64_t value) {
    Separate();
    text_ += std::to_string(value);
    return *this;
  }
  Json& Bool(bool value) {
    Separate();
    text_ += value ? "true" : "false";
    return *this;
  }
  Json& Null() {
    Separate();
    text_ += "null";
    return *this;
  }
  Json& String(std::string_view value) {
    Separate();
    text_ += JsonString(value);
    return *this;
  }
  Json& Raw(const std::string& value) {
    Separate();
    text_ += value;
    return *this;
  }
  template <typename T>
  Json& Field(const char* name, T value) {
    Key(name);
    if constexpr (std::is_same_v<T, bool>) return Bool(value);
    else return Number(static_cast<int64_t>(value));
  }
  const std::string& text() const { return text_; }

 private:
  void Separate() {
    if (!first_) text_.push_back(',');
    first_ = false;
  }
  std::string text_;
  bool first_ = true;
};

// The dumps of one file list at most so many cmap and name records and
// decode at most so many string bytes in all, so that a collection whose
// fonts share or overlap their tables cannot make the document grow with
// the product of fonts and records. Ordinary fonts stay far below both.
constexpr uint64_t kStringBytesPerFileByte = 4;
constexpr uint64_t kStringBytesFloor = uint64_t{1} << 20;
constexpr uint64_t kRecordsFloor = uint64_t{1} << 17;
constexpr size_t kWholeString = 0xFFFF;  // a record's length field holds no more

struct StringBudget {
  uint64_t left;
  uint64_t records;
  bool cut = false;
  bool TakeRecord() {
    if (records == 0) return !(cut = true);
    --records;
    return true;
  }
};

// A field's number as the report shows it: integers with their sign, 16.16
// values as the 32 bits the file stores.
int64_t ReportedNumber(const core::FieldInfo& field, std::span<const uint8_t> bytes) {
  if (field.type == core::FieldType::kFixed) return static_cast<int64_t>(*core::FieldBits(field, bytes));
  return *core::FieldNumber(field, bytes);
}

// The members of a record's fields that the report shows, as far as the
// table's version and `bytes` hold them; `after` may add members behind a
// field.
template <typename After>
void FieldMembers(Json& json, const core::TableSchema& schema, std::span<const uint8_t> bytes, After after) {
  const uint32_t version = schema.version(bytes);
  schema.ForEachListed([&](const core::FieldInfo& field) {
    if (!field.reported() || !schema.Holds(field, version) || field.end() > bytes.size()) return;
    json.Key(field.reportKey());
    if (field.type == core::FieldType::kTag) {
      std::string text;
      for (size_t i = 0; i < field.width && bytes[field.offset + i] != 0; ++i)
        text.push_back(static_cast<char>(bytes[field.offset + i]));
      json.String(text);
    } else {
      json.Number(ReportedNumber(field, bytes));
    }
    after(field);
  });
}
void FieldMembers(Json& json, const core::TableSchema& schema, std::span<const uint8_t> bytes) {
  FieldMembers(json, schema, bytes, [](const core::FieldInfo&) {});
}

// The members of one record of a list (a name or an encoding record).
template <typename Record>
void RecordMembers(Json& json, const Record& record) {
  const auto bytes = core::EncodeRecord(record);
  for (const core::FieldInfo& field : core::kFieldList<Record>)
    if (field.reported()) json.Key(field.reportKey()).Number(ReportedNumber(field, bytes));
}

// A table's record as the file holds it, its missing bytes as zero.
std::vector<uint8_t> WholeRecord(const core::ReadableFile& file, const core::TableDirEntry& entry,
                                 const core::TableSchema& schema) {
  std::vector<uint8_t> bytes = file.ReadRange(entry.offset, schema.MaxSize());
  bytes.resize(schema.MaxSize());
  return bytes;
}

// head, hhea and maxp: every field the report shows; head with the
// adjustment the file's bytes call for after the stored one.
void FixedTable(Json& json, const core::ReadableFile& file, const core::TableDirEntry& entry,
                const core::TableSchema& schema, const FontStructure& font) {
  const std::vector<uint8_t> bytes = WholeRecord(file, entry, schema);
  const bool head = core::IsHeadTag(entry.tag);
  json.Key(schema.tag).Open('{');
  FieldMembers(json, schema, bytes, [&](const core::FieldInfo& field) {
    if (head && field.offset == core::kCheckSumAdjustmentOffset)
      json.Key("calculatedAdjustment").Number(font.trueAdjustment);
  });
  json.Close('}');
}

// OS/2: the fields that both its version and its bytes hold.
void Os2(Json& json, const core::ReadableFile& file, const core::TableDirEntry& entry,
         const core::TableSchema& schema) {
  std::vector<uint8_t> bytes = file.ReadRange(entry.offset, std::min<uint64_t>(entry.length, schema.MaxSize()));
  if (bytes.size() < 2) return;
  json.Key(schema.tag).Open('{');
  FieldMembers(json, schema, bytes);  // the version leads the list
  json.Close('}');
}

void Cmap(Json& json, const core::ReadableFile& file, const core::TableDirEntry& entry, StringBudget& budget) {
  std::vector<uint8_t> head = file.ReadRange(entry.offset, core::CmapHeader::kSize);
  core::CmapHeader header = core::DecodeRecord<core::CmapHeader>(head);
  // No more records are read than the budget can still list.
  std::vector<uint8_t> table = file.ReadRange(
      entry.offset, std::min<uint64_t>({entry.length, core::EncodingRecordAt(header.numTables),
                                        core::EncodingRecordAt(budget.records)}));
  core::CmapRecords cmap = core::ReadCmapRecords(table, core::Rounding::kWholeRecords);
  json.Key("cmap").Open('{');
  RecordMembers(json, cmap.header);
  json.Key("encodingRecords").Open('[');
  for (const core::EncodingRecord& record : cmap.records) {
    if (!budget.TakeRecord()) break;
    json.Open('{');
    RecordMembers(json, record);
    // The subtable's first field, where the table holds it.
    const core::FieldInfo& format = core::kFieldList<core::SubtableHead16>.front();
    std::vector<uint8_t> bytes = file.ReadRange(uint64_t{entry.offset} + record.subtableOffset, format.width);
    json.Key(format.name);
    if (record.subtableOffset + uint64_t{format.width} <= entry.length && bytes.size() == format.width)
      json.Number(*core::FieldNumber(format, bytes));
    else
      json.Null();
    json.Close('}');
  }
  json.Close(']').Close('}');
}

void Name(Json& json, const core::ReadableFile& file, const core::TableDirEntry& entry, StringBudget& budget) {
  core::NameHeader header = core::DecodeRecord<core::NameHeader>(file.ReadRange(entry.offset, core::NameHeader::kSize));
  std::vector<uint8_t> table = file.ReadRange(
      entry.offset,
      std::min<uint64_t>({entry.length, core::NameRecordsEnd(header.count), core::NameRecordsEnd(budget.records)}));
  core::NameRecords name = core::ReadNameRecords(table, core::Rounding::kWholeRecords);
  json.Key("name").Open('{');
  RecordMembers(json, header);
  json.Key("records").Open('[');
  const core::NameStrings strings(file, entry.offset, header, name.records, kWholeString);
  std::vector<uint8_t> bytes;
  for (const core::NameRecord& record : name.records) {
    if (!budget.TakeRecord()) break;
    json.Open('{');
    RecordMembers(json, record);
    const uint64_t start = core::NameStringStart(header, record);
    json.Key("string");
    if (start + record.length > entry.length || record.length > budget.left) {
      if (record.length > budget.left) budget.cut = true;
      json.Null();
    } else {
      budget.left -= record.length;
      bytes.resize(record.length);
      strings.Read(record, bytes.data());
      std::string text;
      if (NameStringUtf8(record.platformID, record.encodingID, bytes, &text))
        json.String(text);
      else
        json.Null();
    }
    json.Close('}');
  }
  json.Close(']').Close('}');
}

// The dumps of the tables the report dumps, where they lie inside the file.
void Dumps(Json& json, const core::ReadableFile& file, const FontStructure& font, StringBudget& budget) {
  auto inside = [&](const char* tag) -> const core::TableDirEntry* {
    const core::TableDirEntry* entry = FindEntry(font, tag);
    return entry && uint64_t{entry->offset} + entry->length <= file.size() ? entry : nullptr;
  };
  for (const char* tag : {"head", "hhea", "maxp"})
    if (auto* entry = inside(tag)) FixedTable(json, file, *entry, *core::TableSchemaFor(tag), font);
  if (auto* entry = inside("OS/2")) Os2(json, file, *entry, *core::TableSchemaFor("OS/2"));
  if (auto* entry = inside("cmap")) Cmap(json, file, *entry, budget);
  if (auto* entry = inside("name")) Name(json, file, *entry, budget);
}

void Font(Json& json, const core::ReadableFile& file, const FontStructure& font, StringBudget& budget) {
  json.Open('{').Field("offset", font.offset);
  if (font.sameAs) {
    json.Field("sameAsFont", *font.sameAs).Close('}');
    return;
  }
  const core::OffsetTable& table = font.offsetTable;
  json.Key("offsetTable").Open('{');
  json.Field("sfntVersion", (uint32_t{table.versionMajor} << 16) | table.versionMinor);
  json.Field("numTables", table.numTables).Field("searchRange", table.searchRange);
  json.Field("entrySelector", table.entrySelector).Field("rangeShift", table.rangeShift).Close('}');
  json.Field("directoryComplete", font.directoryComplete);
  const bool summed = font.calculatedSums.size() == font.entries.size();
  bool tablesRight = summed;
  json.Key("tables").Open('[');
  for (size_t i = 0; i < font.entries.size(); ++i) {
    const core::TableDirEntry& entry = font.entries[i];
    json.Open('{').Key("tag").String(TagChars(entry.tag)).Field("checkSum", entry.checkSum);
    json.Key("calculatedCheckSum");
    if (summed) json.Number(font.calculatedSums[i]);
    else json.Null();
    json.Field("offset", entry.offset).Field("length", entry.length);
    json.Field("inside", uint64_t{entry.offset} + entry.length <= file.size()).Close('}');
    if (summed && font.calculatedSums[i] != entry.checkSum) tablesRight = false;
  }
  json.Close(']');
  Dumps(json, file, font, budget);
  json.Key("verdict").Open('{');
  json.Key("tableCheckSumsRight");
  if (summed) json.Bool(tablesRight);
  else json.Null();
  json.Key("adjustmentRight");
  if (summed && font.storedAdjustment && font.directoryComplete)
    json.Bool(*font.storedAdjustment == font.trueAdjustment);
  else
    json.Null();
  json.Close('}').Close('}');
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (size_t at = 0; at < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else if (c >= 0x80) {
      size_t length = core::Utf8SequenceLength(text, at);
      if (length == 0) {
        out += "\xEF\xBF\xBD";
        ++at;
        continue;
      }
      out.append(text.substr(at, length));
      at += length;
      continue;
    } else {
      out.push_back(static_cast<char>(c));
    }
    ++at;
  }
  out.push_back('"');
  return out;
}

void JsonReport::AddFile(const std::string& path, const core::ReadableFile& file, const FileStructure& structure) {
  Json json;
  StringBudget budget{kStringBytesPerFileByte * file.size() + kStringBytesFloor, file.size() / 4 + kRecordsFloor};
  json.Open('{').Key("path").String(path).Field("size", file.size()).Field("collection", structure.collection);
  if (structure.collection) {
    json.Key("collectionHeader").Open('{').Key("tag").String(TagChars(structure.header.tag));
    json.Field("version", structure.header.version).Field("numFonts", structure.header.numFonts).Close('}');
  }
  json.Key("fonts").Open('[');
  for (const FontStructure& font : structure.fonts) Font(json, file, font, budget);
  json.Close(']').Field("dumpsCut", budget.cut).Close('}');
  files_.push_back(json.text());
}

void JsonReport::AddFailure(const std::string& path, const std::string& error) {
  Json json;
  json.Open('{').Key("path").String(path).Key("error").String(error).Close('}');
  files_.push_back(json.text());
}

std::string JsonReport::Document() const {
  Json json;
  json.Open('{').Key("program").String("quillet").Key("version").String(shell::SuiteVersion());
  json.Key("files").Open('[');
  for (const std::string& file : files_) json.Raw(file);
  json.Close(']').Close('}');
  return json.text() + "\n";
}

}  // namespace editor
