#include "datalog/CsvLogFile.h"

#include <filesystem>

#include "datalog/CsvLogWriter.h"
#include "datalog/LogTexts.h"
#include "settingsfile/AdvancedSettingsFlows.h"
#include "settingsfile/AtomicFile.h"

namespace orx::datalog {

CsvSave saveCsvFile(const std::string& path, const std::string& text) {
  if (text.size() > kCsvMaxSize) return CsvSave::TooLarge;
  // Claim the name first: an existing file (or link) is never replaced.
  switch (cfg::CreateNewFile(path)) {
    case cfg::NewFile::Created: break;
    case cfg::NewFile::Exists: return CsvSave::Exists;
    case cfg::NewFile::Failed: return CsvSave::Failed;
  }
  // The empty placeholder is then replaced whole by the text.
  if (cfg::WriteFileAtomically(path, text).result != cfg::FileResult::Ok) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    return CsvSave::Failed;
  }
  return CsvSave::Saved;
}

Message saveMessage(CsvSave outcome) {
  switch (outcome) {
    case CsvSave::Saved:
      return {};
    case CsvSave::Exists:
    case CsvSave::Failed:
      return text::saveCannotCreate();
    case CsvSave::TooLarge:
      return {"Error", MsgIcon::Error, MsgButtons::Ok,
              "The data log is too large to be saved (more than 500k). Please shorten the notes."};
  }
  return {};
}

std::tm localTimeNow() { return LocalTimeNow(); }

CsvFileResult loadCsvFile(const std::string& path) {
  CsvFileResult out;
  const cfg::FileReadStatus read = cfg::ReadWholeFile(path, kCsvMaxSize);
  if (read.result != cfg::FileResult::Ok) return out;
  out.load = parseCsv(read.bytes);
  switch (out.load.status) {
    case CsvParse::Loaded:
      out.status = CsvFileLoad::Loaded;
      break;
    case CsvParse::NoLineFeed:
      out.status = CsvFileLoad::NoLineFeed;
      break;
    case CsvParse::Malformed:
      out.status = CsvFileLoad::Malformed;
      break;
  }
  return out;
}

}  // namespace orx::datalog
