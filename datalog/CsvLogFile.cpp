#include "datalog/CsvLogFile.h"

#include "datalog/CsvLogWriter.h"
#include "datalog/LogTexts.h"
#include "settingsfile/AdvancedSettingsFlows.h"
#include "settingsfile/AtomicFile.h"

namespace orx::datalog {

CsvSave saveCsvFile(const std::string& path, const std::string& text) {
  if (text.size() > kCsvMaxSize) return CsvSave::TooLarge;
  // An existing file (or link) is never replaced, and a save that dies
  // half-way leaves no empty file to block the name.
  switch (cfg::WriteFileAtomically(path, text, cfg::WriteMode::CreateOnly).result) {
    case cfg::FileResult::Ok:
      return CsvSave::Saved;
    case cfg::FileResult::Exists:
      return CsvSave::Exists;
    case cfg::FileResult::NotFound:
    case cfg::FileResult::TooLarge:
    case cfg::FileResult::Failed:
      break;
  }
  return CsvSave::Failed;
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

CsvSave saveLogData(const LogData& log, std::string_view notes, const std::string& path, Prompter& prompter) {
  const CsvSave outcome = saveCsvFile(path, csvText(log, notes, localTimeNow()));
  if (outcome != CsvSave::Saved) prompter.ask(saveMessage(outcome));
  return outcome;
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
