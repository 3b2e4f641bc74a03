#include "tools/SimOptions.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "tools/LogRecord.h"
#include "tools/StateFile.h"

namespace orx::sim {

namespace {

bool number(std::string_view text, long min, long max, long& out, int base = 10) {
  long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < min || value > max) {
    return false;
  }
  out = value;
  return true;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = text.find(separator, start);
    parts.push_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
    if (at == std::string_view::npos) return parts;
    start = at + 1;
  }
}

// "D.01.03.05": the series letter and three hex version bytes.
bool nvqVersion(std::string_view text, NvqConfig& config) {
  const auto parts = split(text, '.');
  if (parts.size() != 4 || parts[0].size() != 1) return false;
  std::array<std::uint8_t, 3> version{};
  for (int i = 0; i < 3; ++i) {
    long v = 0;
    if (!number(parts[1 + i], 0, 255, v, 16)) return false;
    version[i] = static_cast<std::uint8_t>(v);
  }
  config.letter = static_cast<std::uint8_t>(parts[0][0]);
  config.version = version;
  return true;
}

// "A.01.07.12": hardware byte and two version bytes in hex, the last in
// decimal, as the device manager shows the version.
bool cp210xVersion(std::string_view text, Cp210xConfig& config) {
  const auto parts = split(text, '.');
  long hardware = 0;
  long a = 0;
  long b = 0;
  long c = 0;
  if (parts.size() != 4 || !number(parts[0], 0, 255, hardware, 16) || !number(parts[1], 0, 255, a, 16) ||
      !number(parts[2], 0, 255, b, 16) || !number(parts[3], 0, 255, c)) {
    return false;
  }
  config.hardware = static_cast<std::uint8_t>(hardware);
  config.version = {static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(c)};
  return true;
}

bool faultKind(std::string_view text, FaultKind& out) {
  if (text == "silence") out = FaultKind::Silence;
  else if (text == "wrong") out = FaultKind::WrongReply;
  else if (text == "short") out = FaultKind::ShortReply;
  else if (text == "vanish") out = FaultKind::Vanish;
  else return false;
  return true;
}

// COMMAND:KIND[:TIMES[:BYTES[:AFTER]]]
bool fault(std::string_view text, Fault& out) {
  const auto parts = split(text, ':');
  if (parts.size() < 2 || parts.size() > 5) return false;
  Fault f;
  if (!commandFromName(parts[0], f.command) || !faultKind(parts[1], f.kind)) return false;
  long v = 0;
  if (parts.size() >= 3) {
    if (!number(parts[2], -1, 1000000, v)) return false;
    f.times = static_cast<int>(v);
  }
  if (parts.size() >= 4) {
    if (!number(parts[3], 0, 100000, v)) return false;
    f.vanishAfterBytes = static_cast<std::size_t>(v);
  }
  if (parts.size() == 5) {
    if (!number(parts[4], 0, 1000000, v)) return false;
    f.after = static_cast<int>(v);
  }
  out = f;
  return true;
}

// BLOCK:R,R,... with hex bytes or '-' for no answer
bool blockReplies(std::string_view text, std::pair<int, std::vector<int>>& out) {
  const auto parts = split(text, ':');
  long index = 0;
  if (parts.size() != 2 || !number(parts[0], 0, 100000, index)) return false;
  std::vector<int> replies;
  for (std::string_view r : split(parts[1], ',')) {
    long v = 0;
    if (r == "-") replies.push_back(-1);
    else if (number(r, 0, 255, v, 16)) replies.push_back(static_cast<int>(v));
    else return false;
  }
  out = {static_cast<int>(index), std::move(replies)};
  return true;
}

}  // namespace

bool parseOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error) {
  SimOptions o;
  std::string_view version;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto value = [&](std::string_view& out) {
      if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    std::string_view v;
    long n = 0;
    if (arg == "--help" || arg == "-h") {
      o.help = true;
    } else if (arg == "--kind") {
      if (!value(v)) return false;
      if (v == "nvq") o.kind = EscKind::Nvq;
      else if (v == "cp210x") o.kind = EscKind::Cp210x;
      else return (error = "--kind is nvq or cp210x", false);
    } else if (arg == "--version") {
      if (!value(version)) return false;
    } else if (arg == "--baud") {
      if (!value(v) || !number(v, 50, 4000000, n)) return (error = "--baud wants a rate such as 9600", false);
      o.cp210x.baud = static_cast<unsigned>(n);
    } else if (arg == "--pace") {
      o.pace = true;
    } else if (arg == "--no-overload-marker") {
      o.cp210x.overloadMarker = false;
    } else if (arg == "--application-missing") {
      o.cp210x.applicationMissing = true;
    } else if (arg == "--protections") {
      Bytes bytes;
      if (!value(v) || v.size() != 10 || !fromHex(v, bytes)) {
        return (error = "--protections wants five hex bytes, e.g. 00AA000000", false);
      }
      std::copy(bytes.begin(), bytes.end(), o.cp210x.protections.begin());
    } else if (arg == "--block-count") {
      if (!value(v) || !number(v, 0, 255, n)) return (error = "--block-count wants 0..255", false);
      o.nvq.blockCount = static_cast<std::size_t>(n);
    } else if (arg == "--block-length-reply") {
      if (!value(v) || !number(v, 0, 255, n)) return (error = "--block-length-reply wants 0..255", false);
      o.nvq.blockLengthReply = static_cast<int>(n);
    } else if (arg == "--use-time") {
      if (!value(v)) return false;
      const auto parts = split(v, ':');
      long h = 0;
      long m = 0;
      if (parts.size() != 2 || !number(parts[0], 0, 65535, h) || !number(parts[1], 0, 59, m)) {
        return (error = "--use-time wants HOURS:MINUTES", false);
      }
      o.nvq.useTimeMinutes = static_cast<std::uint32_t>(h * 60 + m);
    } else if (arg == "--log-bytes") {
      if (!value(v) || !number(v, 0, static_cast<long>(kLogMemorySize), n)) {
        return (error = "--log-bytes wants 0..64768", false);
      }
      o.nvq.log.bytes = static_cast<std::size_t>(n);
    } else if (arg == "--log-sessions") {
      if (!value(v) || !number(v, 1, 64, n)) return (error = "--log-sessions wants 1..64", false);
      o.nvq.log.sessions = static_cast<unsigned>(n);
    } else if (arg == "--log-seed") {
      if (!value(v) || !number(v, 0, 0xFFFFFFFFL, n)) return (error = "--log-seed wants a number", false);
      o.nvq.log.seed = static_cast<std::uint32_t>(n);
    } else if (arg == "--no-protection-events") {
      o.nvq.log.protectionEvents = false;
    } else if (arg == "--reappear-ms") {
      if (!value(v) || !number(v, -1, 600000, n)) return (error = "--reappear-ms wants -1..600000", false);
      o.reappearMs = static_cast<int>(n);
    } else if (arg == "--no-dfu") {
      o.dfu = false;
    } else if (arg == "--dfu-mode") {
      o.dfuMode = true;
    } else if (arg == "--state") {
      if (!value(v) || v.empty()) return (error = "--state wants a file name", false);
      o.statePath = std::string(v);
    } else if (arg == "--fault") {
      Fault f;
      if (!value(v) || !fault(v, f)) {
        return (error = "--fault wants COMMAND:KIND[:TIMES[:BYTES[:AFTER]]] (see --help)", false);
      }
      o.faults.push_back(f);
    } else if (arg == "--block-replies") {
      std::pair<int, std::vector<int>> r;
      if (!value(v) || !blockReplies(v, r)) return (error = "--block-replies wants BLOCK:HEX,HEX,... ('-' = none)", false);
      o.blockReplies.push_back(std::move(r));
    } else {
      error = "unknown option " + arg + " (see --help)";
      return false;
    }
  }
  if (!version.empty()) {
    switch (o.kind) {
      case EscKind::Nvq:
        if (!nvqVersion(version, o.nvq)) return (error = "--version wants L.XX.XX.XX, e.g. D.01.03.05", false);
        break;
      case EscKind::Cp210x:
        if (!cp210xVersion(version, o.cp210x)) {
          return (error = "--version wants HH.XX.XX.DD for cp210x, e.g. A.01.07.12", false);
        }
        break;
    }
  }
  if (o.dfuMode && (o.kind != EscKind::Nvq || !o.dfu)) return (error = "--dfu-mode is for an nvq ESC with its DFU boot loader", false);
  options = std::move(o);
  return true;
}

std::unique_ptr<SimulatedEsc> makeSimulatedEsc(const SimOptions& options) {
  auto esc = options.kind == EscKind::Nvq ? std::make_unique<SimulatedEsc>(options.nvq)
                                          : std::make_unique<SimulatedEsc>(options.cp210x);
  if (options.dfu) esc->enableDfu();
  for (const auto& fault : options.faults) esc->addFault(fault);
  for (const auto& [block, replies] : options.blockReplies) esc->setBootBlockReplies(block, replies);
  esc->setReappearAfterLeavingMs(options.reappearMs);
  esc->setLinePacing(options.pace);
  return esc;
}

bool startSimulatedEsc(SimulatedEsc& esc, const SimOptions& options) {
  return esc.start() && (!options.dfuMode || esc.enterDfuMode());
}

std::string helpText() {
  return R"(Usage: orx-esc-sim --kind nvq|cp210x [options]

Simulates an ESC on a pseudo-terminal. Prints the line
  ORX_VIRTUAL_PORTS='ID=PATH'
and, for an NVQ ESC with its DFU boot loader, the line
  ORX_VIRTUAL_DFU='PATH'
to put into the device manager's environment, then serves until SIGINT or
SIGTERM.

General:
  --kind nvq|cp210x       nvq: NVQ series ESC on its STM32 port (default);
                          cp210x: older ESC behind the CP210x adapter
  --state FILE            keep settings, log, use time and firmware in FILE
                          (loaded at start when it exists, rewritten after
                          every change)
  --fault C:K[:T[:N[:A]]] spoil the replies to command C: K is silence, wrong,
                          short or vanish; T how many times (-1 = always, the
                          default); N for vanish: bytes sent before vanishing;
                          A: replies that go out unspoiled first.
                          Repeatable. Commands: ping identify defaults mcu-id
                          block-length read-block write-block
                          enter-boot-loader use-time reset-use-time log-first
                          log-next log-repeat log-end clear-log boot-request
                          dump set-value set-value-pair protections
                          clear-protections boot-sync boot-start
                          dfu-erase dfu-download (the DFU status that ends a
                          page erase / a firmware block)
                          (any fault on enter-boot-loader keeps the NVQ ESC
                          on its serial port)
  --block-replies K:R,R   boot loader answers for firmware block K (0 = first):
                          hex bytes, '-' = no answer; then the block is taken
                          (e.g. 2:33,33,33). Repeatable.
  --help                  this text

NVQ series:
  --version L.XX.XX.XX    firmware letter and version bytes (hex), default
                          D.01.03.05; the second and third byte choose the
                          settings block layout (extended from 02.16 on)
  --block-count N         settings block count (0 = 41 short / 44 extended;
                          49 adds the current sensor gain and offset)
  --block-length-reply N  answer to the block length request (default: count)
  --use-time H:MM         use time, default 21:07
  --log-bytes N           log memory filled with flights, 0..64768 (default 22000)
  --log-sessions N        flights in the log, 1..64 (default 4)
  --log-seed N            seed of the generated flights (default 1)
  --no-protection-events  flights without protection trips
  --reappear-ms N         after the USB boot loader has left for the
                          application, come back on the serial port after
                          N ms (default 3000, -1 never)
  --no-dfu                no USB DFU boot loader: after the jump to it the
                          ESC comes back on its serial port after
                          --reappear-ms on its own
  --dfu-mode              start in the DFU boot loader with no firmware to
                          run (for REPAIR MODE): told to leave before an
                          image was downloaded, it starts there again

CP210x (every byte written is echoed; the ESC answers only at its baud):
  --version HH.XX.XX.DD   hardware byte and version as the device manager
                          shows them (hex, hex, hex, decimal), default
                          A.01.07.12
  --baud N                the ESC's baud, default 9600 (the program cycles
                          9600, 1200, 4800, 19200)
  --pace                  send at the line's real speed (ten bit times a byte),
                          so transfers take as long as with real hardware
  --no-overload-marker    a dump without the overload protection marker
  --application-missing   power up in the serial boot loader (no firmware)
  --protections HEX       five protection bytes (over voltage, stall, low
                          voltage cutoff, overload, over temperature),
                          AA = tripped; default 00AA000000
)";
}

}  // namespace orx::sim
