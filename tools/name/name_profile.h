// How the profile file "Corvout.ini" keeps a name record: a section per
// record with one key per field of the record's field list that identifies
// it (platformID as "PlatformID", ...) and its length as "StringLen"; the
// string itself lies in the text file that "FileName" names.
#pragma once

#include <span>
#include <string>

#include "core/tables/fields.h"
#include "core/tables/name.h"
#include "platform/profile.h"

namespace tools {

struct NameRecordKey {
  const core::FieldInfo* field;
  const char* key;
  bool identifies;  // read back by the merge tool; the length comes from the text file
};

// In the order the extract tool writes them.
std::span<const NameRecordKey> NameRecordKeys();

// Sets the record's keys in `section`, each value in decimal.
void PutNameRecord(const core::NameRecord& record, const std::string& section, platform::Profile* profile);

// The identifying fields of the record in `section` (missing keys as 0, each
// value kept to its field's 16 bits); length and offset are left zero.
core::NameRecord GetNameRecordIds(const platform::Profile& profile, const std::string& section);

// While corvout moves a new set of text files into place, the profile file
// already holds the new records behind a leading [SUMMARY] section that
// marks the set unfinished: it names no table file, so that a corvin
// without this mark refuses it as well, and it carries the message that
// corvin shows. corvout ends by writing the profile file without it.
inline constexpr const char* kUnfinishedKey = "Unfinished";
inline constexpr const char* kInterruptedMessage = "corvout was interrupted; run it again";

// The profile text with the mark before its first section.
std::string MarkUnfinished(const std::string& profileText);
// Whether the profile's first [SUMMARY] section is the mark.
bool IsMarkedUnfinished(const platform::Profile& profile);
// Drops the mark a killed run left; false when there was none.
bool DropUnfinishedMark(platform::Profile* profile);

}  // namespace tools
