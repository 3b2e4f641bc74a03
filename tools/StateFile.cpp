#include "tools/StateFile.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace orx::sim {

std::string toHex(const Bytes& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (std::uint8_t b : bytes) {
    text.push_back(kDigits[b >> 4]);
    text.push_back(kDigits[b & 0x0F]);
  }
  return text;
}

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool fromHex(std::string_view text, Bytes& out) {
  if (text.size() % 2 != 0) return false;
  Bytes bytes;
  bytes.reserve(text.size() / 2);
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const int high = hexValue(text[i]);
    const int low = hexValue(text[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
  }
  out = std::move(bytes);
  return true;
}

std::string formatState(const StateMap& state) {
  std::string text = "# orx-esc-sim state\n";
  for (const auto& [key, value] : state) text += key + "=" + value + "\n";
  return text;
}

bool parseState(const std::string& text, StateMap& out, std::string& error) {
  StateMap state;
  std::size_t pos = 0;
  int lineNo = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos || eq == 0) {
      error = "line " + std::to_string(lineNo) + ": expected key=value";
      return false;
    }
    if (!state.emplace(line.substr(0, eq), line.substr(eq + 1)).second) {
      error = "line " + std::to_string(lineNo) + ": repeated key " + line.substr(0, eq);
      return false;
    }
  }
  out = std::move(state);
  return true;
}

bool writeFileAtomic(const std::string& path, const std::string& content, std::string& error) {
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    error = "cannot create " + temp + ": " + std::strerror(errno);
    return false;
  }
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = "cannot write " + temp + ": " + std::strerror(errno);
      ::close(fd);
      ::unlink(temp.c_str());
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    error = "cannot write " + temp + ": " + std::strerror(errno);
    ::unlink(temp.c_str());
    return false;
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    error = "cannot replace " + path + ": " + std::strerror(errno);
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

bool readSmallFile(const std::string& path, std::string& content, std::size_t limit) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  std::string text;
  char buffer[8192];
  bool ok = true;
  for (;;) {
    const std::size_t n = std::fread(buffer, 1, sizeof buffer, f);
    text.append(buffer, n);
    if (text.size() > limit) {
      ok = false;
      break;
    }
    if (n < sizeof buffer) {
      ok = !std::ferror(f);
      break;
    }
  }
  std::fclose(f);
  if (ok) content = std::move(text);
  return ok;
}

bool stateBytes(const StateMap& state, const std::string& key, Bytes& out, std::string& error) {
  const auto it = state.find(key);
  if (it == state.end()) {
    error = "missing " + key;
    return false;
  }
  if (!fromHex(it->second, out)) {
    error = key + " is not hex";
    return false;
  }
  return true;
}

bool stateNumber(const StateMap& state, const std::string& key, unsigned long max,
                 unsigned long& out, std::string& error) {
  const auto it = state.find(key);
  if (it == state.end()) {
    error = "missing " + key;
    return false;
  }
  const std::string& text = it->second;
  unsigned long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value > max) {
    error = key + " is not a number up to " + std::to_string(max);
    return false;
  }
  out = value;
  return true;
}

}  // namespace orx::sim
