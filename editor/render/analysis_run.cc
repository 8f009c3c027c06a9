#include "editor/render/analysis_run.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <tuple>

#include "core/sfnt/checksum.h"
#include "core/io/readable_file.h"
#include "editor/model/checksum_binding.h"
#include "editor/model/font_file.h"
#include "editor/render/table_dumps.h"
#include "editor/model/table_list.h"
#include "editor/render/text_block.h"
#include "editor/session/settings_path.h"

namespace editor {
namespace {

// The report of one run is bounded by the size of its font file: at most
// kReportPerFileByte bytes of report per byte of file, plus kReportFloor.
// An ordinary font's report is a small fraction of that; a hostile directory
// or collection that names the same bytes over and over reaches the bound,
// and the report stops there with a line that says so.
constexpr uint64_t kReportPerFileByte = 16;
constexpr uint64_t kReportFloor = uint64_t{1} << 20;

class BoundedLog : public shell::LogSink {
 public:
  BoundedLog(shell::LogSink& log, uint64_t limit) : log_(log), limit_(limit) {}
  void Append(std::string_view text) override {
    if (full_ || spent_ + text.size() > limit_) {
      full_ = true;
      return;
    }
    spent_ += text.size();
    log_.Append(text);
  }
  bool full() const { return full_; }
  uint64_t limit() const { return limit_; }
  // Past the bound: for the line that says where the report stopped.
  void AppendAnyway(std::string_view text) { log_.Append(text); }

 private:
  shell::LogSink& log_;
  uint64_t limit_;
  uint64_t spent_ = 0;
  bool full_ = false;
};

struct RunContext {
  const AnalysisRequest& request;
  const core::ReadableFile& file;
  const ChecksumLibrary& library;
  BoundedLog& log;
  shell::MessageSink& messages;
  FontFile& model;
  RegionSums& sums;
  TableListWriter& tableList;
  DumpContext::Faults& faults;
};

std::string TagText(const std::array<uint8_t, 4>& tag) { return std::string(reinterpret_cast<const char*>(tag.data()), 4); }

void LogCollectionHeader(const RunContext& run, FontAnalysis* analysis) {
  const core::CollectionHeader& header = run.model.header();
  run.log.Append(FormatBlock("ttc table, tag = %c%c%c%c, version = 0x%x, count = %d\r\n", header.tag[0],
                             header.tag[1], header.tag[2], header.tag[3], header.version,
                             static_cast<int>(header.numFonts)));
  for (uint32_t offset : analysis->fontOffsets) {
    if (run.log.full()) break;
    run.log.Append(FormatBlock("ttc table directory, offset = 0x%x, %d\r\n", offset, static_cast<int>(offset)));
  }
  if (!run.model.offsetsComplete())
    run.log.Append(FormatBlock("The file ends after %u of the %u font offsets.\r\n",
                               static_cast<unsigned>(analysis->fontOffsets.size()), header.numFonts));
  run.log.Append("--\r\n");
}

// The verification summary that ends each font's report.
void LogSummary(const RunContext& run, uint32_t total, uint32_t trueAdjustment, uint32_t storedAdjustment) {
  run.log.Append(FormatBlock("(assume adjustment = 0) Calculated check sum total (CCST) is 0x%x\r\n--\r\n", total));
  run.log.Append(FormatBlock("True checkSumAdjustment (TCSAJ) should be 0x%x\r\n--\r\n", trueAdjustment));
  run.log.Append(FormatBlock("CCST + TCSAJ is 0x%x\r\n--\r\n", total + trueAdjustment));
  run.log.Append(FormatBlock("CCST + stored check sum adjustment is 0x%x\r\n--\r\n", total + storedAdjustment));
  run.log.Append(FormatBlock("Check Sum is 0x%x (0 is correct.)\r\n--\r\n",
                             core::ConsistencyCheck(total, storedAdjustment)));
}

void FontReport(const RunContext& run, size_t font, FontRecord* record) {
  const std::string& path = run.request.fontPath;
  const uint32_t fontOffset = run.model.fontOffsets()[font];
  const FontDirectory& directory = run.model.Directory(font);
  core::OffsetTable& table = record->offsetTable;
  table = directory.offsetTable;
  run.log.Append(FormatBlock(
      "The Table Directory\r\n  sfnt version = %d.%d\r\n  Number of tables = %u\r\n  searchRange = %u\r\n  "
      "entrySelector = %u\r\n  rangeShift = %u\r\n",
      table.versionMajor, table.versionMinor, unsigned{table.numTables}, unsigned{table.searchRange},
      unsigned{table.entrySelector}, unsigned{table.rangeShift}));
  run.log.Append("--\r\n");

  // Without the library's table rule the directory counts as 0, like every table.
  uint32_t directorySum = 0;
  if (run.library.hasTableSum()) {
    directorySum = run.library.TableSum(
        path, fontOffset, static_cast<uint32_t>(core::TableDirEntry::kSize * table.numTables + core::OffsetTable::kSize));
    run.log.Append(FormatBlock("Check sum on Table Directory and its Entries = 0x%x\r\n", directorySum));
  }

  record->entries = directory.entries;
  record->directoryComplete = directory.complete;
  run.log.Append("Table Directory Entries\r\n");
  run.log.Append("It takes time to calculate glyf table check sum.\r\n");
  run.log.Append("The difference between checkSum and CalcCheckSum in head table is\r\n");
  run.log.Append("  due to checkSumAdjustment.\r\n");
  run.log.Append("# \ttag   \tcheckSum\toffset   \tlength   \tCalcCheckSum\tdiff\r\n");

  std::vector<TableListEntry> list;
  list.reserve(record->entries.size());
  record->calculatedSums.reserve(record->entries.size());
  for (size_t k = 0; k < record->entries.size(); ++k) {
    if (run.log.full()) {
      record->entries.resize(k);  // the record keeps the entries the report lists
      break;
    }
    const core::TableDirEntry& entry = record->entries[k];
    uint32_t sum = *run.sums.Of(entry);
    record->calculatedSums.push_back(sum);
    run.log.Append(FormatBlock("%02d,\t%c%c%c%c,\t0x%08x,\t0x%08x,\t0x%08x,\t0x%08x,   \t0x%08x\r\n",
                               static_cast<int>(k), entry.tag[0], entry.tag[1], entry.tag[2], entry.tag[3],
                               entry.checkSum, entry.offset, entry.length, sum, sum - entry.checkSum));
    list.push_back(TableListEntry{entry.tag, entry.offset, entry.length, sum});
  }
  if (!record->directoryComplete)
    run.log.Append(FormatBlock("The file ends inside the table directory: %u of %u entries are listed.\r\n",
                               static_cast<unsigned>(record->entries.size()), unsigned{table.numTables}));
  run.tableList.AddFont(list);
  run.log.Append("--\r\n");

  uint32_t total = core::WholeFontTotal(directorySum, record->calculatedSums);
  record->trueAdjustment = core::TrueAdjustment(total);
  // The adjustment this font's own head table stores; 0 when it has none.
  uint32_t storedAdjustment = 0;
  DumpContext dump{path,          run.log, run.messages, record->trueAdjustment, [&run] { return run.log.full(); },
                   &run.file.identity(), &run.faults, run.request.nameText};
  // A table that several entries of the font name is dumped once.
  std::map<std::pair<std::array<uint8_t, 4>, uint32_t>, size_t> dumped;
  for (size_t k = 0; k < record->entries.size(); ++k) {
    if (run.log.full()) return;
    const core::TableDirEntry& entry = record->entries[k];
    run.log.Append(TagText(entry.tag) + " : " + FormatBlock("offset = 0x%x, ", entry.offset) +
                   FormatBlock("length = 0x%x\r\n", entry.length));
    if (!IsDumpedTag(entry.tag)) continue;
    auto [earlier, first] = dumped.emplace(std::make_pair(entry.tag, entry.offset), k);
    if (first) DumpTable(dump, entry.tag, entry.offset, &storedAdjustment);
    else run.log.Append(FormatBlock("  the same table as entry %02d; not dumped again.\r\n", static_cast<int>(earlier->second)));
  }
  run.log.Append("--\r\n");
  LogSummary(run, total, record->trueAdjustment, storedAdjustment);
}

}  // namespace

std::string OpeningLine(const std::string& fontPath) {
  return FormatBlock("TrueType Font %s is opened.\r\nInitializing...", fontPath.c_str());
}

bool AnalysisRun(const AnalysisRequest& request, FontAnalysis* analysis, shell::LogSink& log, shell::MessageSink& messages) {
  *analysis = FontAnalysis{};
  analysis->fontPath = request.fontPath;
  analysis->collection = IsCollectionPath(request.fontPath);

  core::ReadableFile file;
  const bool opened = file.Open(request.fontPath);
  // The opening line only once the font is open: a missing file is not "opened".
  if (opened) log.Append(request.announce ? OpeningLine(request.fontPath) + "\r\n" : std::string("\r\n"));
  if (!opened) {
    messages.Show(shell::Message{"ERROR", FormatBlock("Function CreateFile(%s) has an error at 2!! %d%s",
                                               request.fontPath.c_str(), file.error(),
                                               core::OpenErrorNote(file.error())),
                                  core::ErrorReason(file.error())});
    return false;
  }
  analysis->identity = file.identity();
  // The report takes a collection by its name, and sums through the library.
  FontFile model(file, CollectionRule::kFileName, request.fontPath);
  analysis->fontOffsets = model.fontOffsets();
  ChecksumLibrary library;
  RegionSums sums([&library, &request](const core::TableDirEntry& entry, bool head) {
    return head ? library.HeadSum(request.fontPath, entry.offset)
                : library.TableSum(request.fontPath, entry.offset, entry.length);
  });
  TableListWriter tableList(request.settingsFolder);
  BoundedLog bounded(log, kReportPerFileByte * file.size() + kReportFloor);
  DumpContext::Faults faults;
  RunContext run{request, file, library, bounded, messages, model, sums, tableList, faults};
  if (analysis->collection) LogCollectionHeader(run, analysis);

  if (!library.Bind(messages, request.libraryName)) {
    messages.Show(LibraryNotLoadedMessage(request.libraryName));
    return false;
  }
  if (!library.hasTableSum())
    bounded.Append(FormatBlock("CalcTblCheckSum is missing from %s; table check sums count as 0.\r\n",
                           request.libraryName.c_str()));
  if (!library.hasHeadSum())
    bounded.Append(FormatBlock("CalcHeadCheckSum is missing from %s; head check sums count as 0.\r\n",
                           request.libraryName.c_str()));
  analysis->bothSumExports = library.hasBothSums();

  // A font at the offset of an earlier one is the same font: reported once.
  for (size_t i = 0; i < analysis->fontOffsets.size() && !bounded.full(); ++i) {
    analysis->fonts.emplace_back();
    if (std::optional<size_t> earlier = model.SameAs(i)) {
      analysis->fonts.back().repeat = true;
      bounded.Append(FormatBlock("The font at offset 0x%x is font %u, reported above.\r\n--\r\n",
                                 analysis->fontOffsets[i], static_cast<unsigned>(*earlier)));
    } else {
      FontReport(run, i, &analysis->fonts.back());
    }
  }
  if (bounded.full())
    bounded.AppendAnyway(FormatBlock("The report stops here: it would be longer than %llu bytes for a font file of "
                                     "%llu bytes.\r\n",
                                     static_cast<unsigned long long>(bounded.limit()),
                                     static_cast<unsigned long long>(file.size())));
  // A report from bytes that could not be read, or from a file that changed
  // under the run, is no report: it ends without "Ready".
  int readError = file.read_error() ? file.read_error() : faults.readError;
  bool trusted = readError == 0 && !faults.changed && file.Unchanged() && library.failures() == 0;
  if (!trusted) analysis->fonts.clear();
  if (readError != 0) {
    messages.Show(shell::Message{"ERROR", FormatBlock("Function ReadFile(%s) has an error at 2!! %d",
                                               request.fontPath.c_str(), readError),
                                  core::ErrorReason(readError)});
    return false;
  }
  if (faults.changed || !file.Unchanged()) {
    messages.Show(shell::Message{"ERROR", FormatBlock("The font file %s changed while it was analysed; open it again.",
                                               request.fontPath.c_str())});
    return false;
  }
  if (library.failures() > 0) {
    messages.Show(shell::Message{"ERROR", FormatBlock("%s could not sum %s, so the check sums above are wrong.",
                                               request.libraryName.c_str(), request.fontPath.c_str())});
    return false;
  }
  int error = 0;
  if (!analysis->fonts.empty() && !tableList.Save(&error)) {
    const std::string settingsFile = SettingsFilePath(request.settingsFolder);
    if (error == EFBIG) {
      // Too large to be the suite's: left alone, and the run goes on without it.
      messages.Show(shell::Message{
          "WARNING", FormatBlock("%s is larger than %llu MiB, so it is left alone and the table list is not written.",
                                 settingsFile.c_str(),
                                 static_cast<unsigned long long>(platform::Profile::kLargestProfile >> 20))});
    } else {
      messages.Show(shell::Message{"ERROR", FormatBlock("Could not write the table list into %s.", settingsFile.c_str()),
                                   core::ErrorReason(error)});
      analysis->tableListFailed = true;
    }
  }
  file.Close();
  library.Release();
  log.Append("Ready\r\n--\r\n");
  return true;
}

namespace {

// Hands a run's lines on to the log and keeps every one of them. The run
// appends on its thread; Take() is called once it has ended.
class ReportCopy : public shell::LogSink {
 public:
  explicit ReportCopy(shell::LogSink& log) : log_(log) {}
  void Append(std::string_view text) override {
    {
      std::lock_guard<std::mutex> hold(lock_);
      text_.append(text);
    }
    log_.Append(text);
  }
  std::string Take() {
    std::lock_guard<std::mutex> hold(lock_);
    return std::move(text_);
  }

 private:
  shell::LogSink& log_;
  std::mutex lock_;
  std::string text_;
};

}  // namespace

bool StartAnalysis(shell::Worker& worker, const AnalysisRequest& request, shell::LogSink& log,
                   shell::MessageSink& messages, std::function<void(FinishedRun)> ended) {
  if (worker.busy()) return false;
  auto report = std::make_shared<ReportCopy>(log);
  auto result = std::make_shared<FontAnalysis>();
  auto reachedReady = std::make_shared<bool>(false);
  AnalysisRequest announced = request;
  announced.announce = true;
  return worker.Start(
      [announced, result, report, reachedReady, &messages] {
        *reachedReady = AnalysisRun(announced, result.get(), *report, messages);
      },
      [result, report, reachedReady, ended = std::move(ended)] {
        ended(FinishedRun{result, *reachedReady, report->Take()});
      });
}

bool OpenAndAnalyse(const AnalysisRequest& request, FontAnalysis* analysis, shell::LogSink& log, shell::MessageSink& messages) {
  AnalysisRequest announced = request;
  announced.announce = true;
  return AnalysisRun(announced, analysis, log, messages);
}

}  // namespace editor
