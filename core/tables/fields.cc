#include "core/tables/fields.h"

#include <cstring>

#include "core/io/byte_order.h"
#include "core/tables/cmap.h"
#include "core/tables/head.h"
#include "core/tables/hhea.h"
#include "core/tables/maxp.h"
#include "core/tables/name.h"
#include "core/tables/os2.h"
#include "core/tables/post.h"
#include "core/tables/vhea.h"

namespace core {
namespace {

uint32_t NoVersion(std::span<const uint8_t>) { return 0; }
uint32_t Os2Version(std::span<const uint8_t> table) {
  return table.size() >= 2 ? LoadU16(table.data()) : 0;
}
uint32_t MaxpVersion(std::span<const uint8_t> table) {
  return table.size() >= 4 ? LoadU32(table.data()) : 0;
}

const TableSchema kSchemas[] = {
    {"head", kFieldList<Head>, NoVersion, {}},
    {"hhea", kFieldList<Hhea>, NoVersion, {}},
    {"vhea", kFieldList<Vhea>, NoVersion, {}},
    {"maxp", kFieldList<Maxp>, MaxpVersion, {}},
    {"OS/2", kFieldList<Os2>, Os2Version, kOs2ListOrder},
    {"post", kFieldList<Post>, NoVersion, {}},
    {"name", kFieldList<NameHeader>, NoVersion, {}},
    {"cmap", kFieldList<CmapHeader>, NoVersion, {}},
};

static_assert(AllFieldsNamed<Head>() && AllFieldsNamed<Hhea>() && AllFieldsNamed<Vhea>() &&
              AllFieldsNamed<Maxp>() && AllFieldsNamed<Post>() && AllFieldsNamed<NameHeader>() &&
              AllFieldsNamed<NameRecord>() && AllFieldsNamed<LangTagRecord>() && AllFieldsNamed<CmapHeader>() &&
              AllFieldsNamed<EncodingRecord>());

}  // namespace

std::optional<uint64_t> FieldBits(const FieldInfo& field, std::span<const uint8_t> table) {
  if (field.end() > table.size()) return std::nullopt;
  uint64_t bits = 0;
  for (size_t i = 0; i < field.width; ++i) bits = (bits << 8) | table[field.offset + i];
  return bits;
}

std::optional<int64_t> FieldNumber(const FieldInfo& field, std::span<const uint8_t> table) {
  std::optional<uint64_t> bits = FieldBits(field, table);
  if (!bits) return std::nullopt;
  if (!field.isSigned() || field.width >= 8) return static_cast<int64_t>(*bits);
  const unsigned shift = 64 - 8 * field.width;
  return static_cast<int64_t>(*bits << shift) >> shift;
}

bool StoreFieldBits(const FieldInfo& field, uint64_t bits, std::span<uint8_t> table) {
  if (field.end() > table.size()) return false;
  for (size_t i = field.width; i-- > 0;) {
    table[field.offset + i] = static_cast<uint8_t>(bits);
    bits >>= 8;
  }
  return true;
}

const TableSchema* TableSchemaFor(std::span<const uint8_t, 4> tag) {
  for (const TableSchema& schema : kSchemas)
    if (std::memcmp(schema.tag, tag.data(), 4) == 0) return &schema;
  return nullptr;
}

const TableSchema* TableSchemaFor(std::string_view tag) {
  if (tag.size() != 4) return nullptr;
  return TableSchemaFor(std::span<const uint8_t, 4>(reinterpret_cast<const uint8_t*>(tag.data()), 4));
}

std::span<const TableSchema> TableSchemas() { return kSchemas; }

}  // namespace core
