// fuzz_seeds OUTDIR: writes a small seed corpus per target into OUTDIR/<target>/,
// made by the program's own writers (settings and CSV files, .dfu building)
// and by the simulated ESC (settings blocks, dumps, log memory).
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "base/Format.h"
#include "datalog/CsvLogWriter.h"
#include "datalog/LogDecode.h"
#include "firmware/DfuFile.h"
#include "protocol/EscSettings.h"
#include "protocol/SettingsBlockCodec.h"
#include "protocol/SettingsDumpCodec.h"
#include "settingsfile/SettingsFileWriter.h"
#include "tests/support/StartControls.h"
#include "tools/Cp210xSettings.h"
#include "tools/LogGenerator.h"
#include "tools/NvqBlock.h"

using namespace orx;
using Bytes = std::vector<uint8_t>;

namespace {

std::string root;

void put(const std::string& target, const std::string& name, const std::string& bytes) {
  ::mkdir((root + "/" + target).c_str(), 0755);
  std::ofstream(root + "/" + target + "/" + name, std::ios::binary) << bytes;
}
void put(const std::string& target, const std::string& name, const Bytes& bytes) {
  put(target, name, std::string(bytes.begin(), bytes.end()));
}

EscSettings kept(const Bytes& block, bool extended) {
  EscSettings k;
  k.LayoutFlag = extended;
  k.length = static_cast<int>(std::min(block.size(), k.block.size()));
  std::copy_n(block.begin(), k.length, k.block.begin());
  return k;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds OUTDIR\n");
    return 2;
  }
  root = argv[1];
  ::mkdir(root.c_str(), 0755);

  // Settings: an NVQ block of each layout and a CP210x dump, as the window shows them and as File > Save writes them.
  const Bytes dump = sim::settingsDump(sim::Cp210xSettings{}, true);
  for (bool extended : {false, true}) {
    const Bytes block = sim::factoryBlock(extended ? sim::BlockLayout::Extended : sim::BlockLayout::Short);
    DialogState s;
    test::fillStartLists(s);
    refillNvqLists(s);
    decodeSettingsBlock(s, kept(block, extended));
    const char* name = extended ? "nvq-extended" : "nvq-short";
    put("settings_file", std::string(name) + ".cfg", cfg::FormatSettingsFile(s, fuzz::savedAt()));
    put("esc_replies", std::string(name) + ".block", block);
    Bytes answers{1, 0xFE};  // an NVQ read: the reply handed out in pieces of 64 bytes
    for (size_t i = 0; i < block.size(); i += 64) {
      answers.push_back(64);
      answers.insert(answers.end(), block.begin() + i, block.begin() + std::min(block.size(), i + 64));
    }
    put("flows", std::string(name) + ".answers", answers);
  }
  DialogState cp;
  test::fillStartLists(cp);
  prepareCp210xRead(cp);
  decodeSettingsDump(cp, dump);
  put("settings_file", "cp210x.cfg", cfg::FormatSettingsFile(cp, fuzz::savedAt()));
  put("esc_replies", "cp210x.dump", dump);
  Bytes cpAnswers{0};
  for (uint8_t b : dump) cpAnswers.insert(cpAnswers.end(), {1, b});
  put("flows", "cp210x.answers", cpAnswers);

  // Logs: log memory from the simulated ESC, and that log saved as CSV.
  const Bytes memory = sim::generateLog({.bytes = 2200, .sessions = 3, .seed = 7});
  put("log_memory", "three-sessions.bin", Bytes(memory.begin(), memory.begin() + 2200 + 11));
  const Bytes erased = sim::erasedLog();
  put("log_memory", "erased.bin", Bytes(erased.begin(), erased.begin() + 256));
  if (const auto log = datalog::decodeLog(Bytes(memory.begin(), memory.begin() + 2200)))
    put("csv_log", "three-sessions.csv", datalog::csvText(*log, "bench run\r\nnew propellers", fuzz::savedAt()));

  // Firmware: an .orx image of two blocks, a .dfu file and a DFU memory map.
  put("orx_image", "two-blocks.orx", std::string("0004DEADBEEF0002CAFE"));
  DfuFile dfu;
  dfu.vendorId = 0x0483;
  dfu.productId = 0xDF11;
  dfu.images.push_back({0, true, "Internal Flash", {{0x08000000, Bytes(64, 0x5A)}, {0x08004000, Bytes(16, 0xA5)}}});
  put("dfu_file", "two-elements.dfu", BuildDfuFile(dfu));
  put("dfu_file", "memory-map.txt", std::string("@Internal Flash  /0x08000000/04*016Kg,01*064Kg,07*128Kg"));
  return 0;
}
