// .cfg files: parse and load into the controls as File > Load does; a file
// that loads into savable controls must save, load and save again unchanged.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "base/DialogState.h"
#include "settingsfile/SettingsApply.h"
#include "settingsfile/SettingsFileParser.h"
#include "settingsfile/SettingsFileWriter.h"
#include "tests/support/StartControls.h"

using namespace orx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const cfg::LoadContext context{true, size % 2 == 0, size % 3 != 0};
  DialogState start;
  test::fillStartLists(start);

  DialogState loaded = start;
  cfg::ApplySettingsFile(loaded, cfg::ParseSettingsFile(text), context);
  if (!cfg::EmptyRequiredFields(loaded).empty()) return 0;

  const std::string saved = cfg::FormatSettingsFile(loaded, fuzz::savedAt());
  DialogState reloaded = start;
  fuzz::check(cfg::ApplySettingsFile(reloaded, cfg::ParseSettingsFile(saved), context).empty(),
              "a saved file loads without refused values");
  fuzz::checkSame(saved, cfg::FormatSettingsFile(reloaded, fuzz::savedAt()), "save, load, save gives the same file");
  return 0;
}
