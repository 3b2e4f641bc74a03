#include "datalog/CsvLogFile.h"

#include <fcntl.h>
#include <cerrno>
#include <unistd.h>

#include "datalog/CsvLogWriter.h"
#include "datalog/LogTexts.h"
#include "settingsfile/AtomicFile.h"

namespace orx::datalog {

CsvSave saveCsvFile(const std::string& path, const std::string& text) {
  if (text.size() > kCsvMaxSize) return CsvSave::TooLarge;
  // Claim the name first: an existing file (or link) is never replaced.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno == EEXIST ? CsvSave::Exists : CsvSave::Failed;
  ::close(fd);
  // The empty placeholder is then replaced whole by the text.
  if (cfg::WriteFileAtomically(path, text).result != cfg::FileResult::Ok) {
    ::unlink(path.c_str());
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

CsvSave saveLogData(const LogData& log, std::string_view notes, const std::string& path, Prompter& prompter) {
  const CsvSave outcome = saveCsvFile(path, csvText(log, notes, localTimeNow()));
  if (outcome != CsvSave::Saved) prompter.ask(saveMessage(outcome));
  return outcome;
}

std::tm localTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm out{};
  ::localtime_r(&now, &out);
  return out;
}

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
