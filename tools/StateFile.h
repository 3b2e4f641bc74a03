// The simulator's state file: "key=value" lines, byte strings in hex. It is
// replaced atomically (temp file + rename), so a crash or a full disk never
// leaves a half-written state behind.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "tools/SimTypes.h"

namespace orx::sim {

using StateMap = std::map<std::string, std::string>;

std::string toHex(const Bytes& bytes);
// False on odd length or a character that is no hex digit.
bool fromHex(std::string_view text, Bytes& out);

std::string formatState(const StateMap& state);
// False (with `error`) on a line without '=' or a repeated key.
bool parseState(const std::string& text, StateMap& out, std::string& error);

bool writeFileAtomic(const std::string& path, const std::string& content, std::string& error);
// Reads at most `limit` bytes; false when missing, unreadable or larger.
bool readSmallFile(const std::string& path, std::string& content, std::size_t limit = 4u << 20);

// Fetches `key` as hex bytes; false with `error` when missing or malformed.
bool stateBytes(const StateMap& state, const std::string& key, Bytes& out, std::string& error);
// Fetches `key` as an unsigned number up to `max`.
bool stateNumber(const StateMap& state, const std::string& key, unsigned long max,
                 unsigned long& out, std::string& error);

}  // namespace orx::sim
