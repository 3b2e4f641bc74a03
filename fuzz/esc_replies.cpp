// Every decoder of what an ESC answers: the settings block (both layouts) and
// the CP210x dump into the controls, the write frame built back from a block,
// identity and version replies, use time, protections and the ADC texts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "base/DialogState.h"
#include "protocol/AdcText.h"
#include "protocol/BlockFrame.h"
#include "protocol/EscIdentity.h"
#include "protocol/EscSettings.h"
#include "protocol/ProtectionsFlow.h"
#include "protocol/SettingsBlockCodec.h"
#include "protocol/SettingsDumpCodec.h"
#include "protocol/UseTimeFlow.h"
#include "tests/support/StartControls.h"

using namespace orx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> reply(data, size);
  for (bool extended : {false, true}) {
    const ReceivedBlock received = BlockFromReply(reply, extended);
    EscSettings kept;
    kept.LayoutFlag = extended;
    kept.length = static_cast<int>(std::min(received.block.size(), kept.block.size()));
    std::copy_n(received.block.begin(), kept.length, kept.block.begin());
    DialogState s;
    test::fillStartLists(s);
    refillNvqLists(s);
    if (decodeSettingsBlock(s, kept)) {
      const BlockEncoding encoded = encodeSettingsBlock(s, kept);
      (void)encoded;
    }
    (void)settingsWriteFrame(kept);
  }
  DialogState dumped;
  test::fillStartLists(dumped);
  prepareCp210xRead(dumped);
  decodeSettingsDump(dumped, reply);

  if (size > 0) (void)Cp210xHardwareCode(data[0]);
  (void)Cp210xVersionText(reply);
  (void)Stm32VersionText(reply);
  (void)McuIdText(reply);
  if (size >= 3) (void)LayoutFlagFor(data[1], data[2]);
  (void)UseTimeFromReply(reply, size > 0 ? std::min<size_t>(size, data[0]) : 0);
  (void)ProtectionStatesFrom(std::vector<uint8_t>(reply.begin(), reply.end()));
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const size_t half = size / 2;
  (void)parseAdcTexts(text.substr(0, half), text.substr(half));
  return 0;
}
