// Pulls a TrueType font out of Mac data (resource data of a font suitcase, a
// resource fork saved as a file, an archive member): finds where the font
// begins by its signature "true" (or "mor0"), writes everything from there to
// the end of the input into a new file and puts the sfnt version 1.0
// (00 01 00 00) in place of the signature. Input without a signature is read
// as Mac resource data (macconv/engine/mac_containers.h): its first 'sfnt' resource
// is written exactly as stored. A second command writes every 'sfnt'
// resource of the input, each to a file of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/io/readable_file.h"
#include "macconv/engine/resource_fork.h"
#include "macconv/engine/sinks.h"

namespace macconv {

// Position of the first occurrence of `pattern` in `data`; nothing when there
// is none or the data is shorter than the pattern.
std::optional<size_t> FindBytes(std::span<const uint8_t> data, std::span<const uint8_t> pattern);

// The signature search in one 256-byte window: "true" wherever it stands,
// else "mor0".
std::optional<size_t> FindSignatureInWindow(std::span<const uint8_t> window);

// Where the font begins, as an offset into the input. The input is searched in
// windows of 256 bytes that advance by 128 (each holds the previous and the
// next 128 bytes), so a signature across a 128-byte boundary is found; within
// one window "true" beats "mor0", between windows the first window that holds
// either decides.
std::optional<uint64_t> FindFontStart(std::span<const uint8_t> input);
// The same search over a file, read in large blocks.
std::optional<uint64_t> FindFontStart(const core::ReadableFile& input);

// The extraction of `inputName`: asks `chooser` for the output name
// ("Drumlin File Save", proposing the input name followed by ".ttf") and
// reports every outcome through `messages`. The output is created new and
// appears only when complete. When the input holds more fonts than the one
// written, the message says how many and names the command that writes all.
shell::Outcome ExtractTrueType(const std::string& inputName, shell::FileChooser& chooser, shell::MessageSink& messages);

// Every 'sfnt' resource of the Mac data `inputName`, exactly as stored, each
// into a new file in `folder` named after the input and the resource's name
// (made safe for a file name) or, without one, its ID:
// "Fonts.dfont.Osaka.ttf", "Fonts.dfont.128.ttf" (an AppleDouble input
// "._Fonts" gives "Fonts.Osaka.ttf"). A name that exists is
// never replaced: that font is reported and the others are still written.
// The message lists every file written.
shell::Outcome ExtractAllFonts(const std::string& inputName, const std::string& folder, shell::MessageSink& messages);

// The file name of one font for ExtractAllFonts, before it is made unique
// among the fonts of one input: only letters, digits, '-', '_' and '+' of the
// resource's name are kept (others become '_', at most 63 of them).
std::string FontFileName(const std::string& inputName, const SfntResource& font);

}  // namespace macconv
