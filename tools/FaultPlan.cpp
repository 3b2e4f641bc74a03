#include "tools/FaultPlan.h"

#include <algorithm>

namespace orx::sim {

void FaultPlan::clear() {
  faults_.clear();
  blockReplies_.clear();
}

bool FaultPlan::reply(Command command, const Bytes& reply, Output& out,
                      std::optional<std::size_t> pageNumberAt) {
  Fault* fault = nullptr;
  for (auto& f : faults_) {
    if (f.command == command && f.times != 0) {
      fault = &f;
      break;
    }
  }
  if (fault != nullptr && fault->after > 0) {
    --fault->after;
    fault = nullptr;
  }
  if (fault == nullptr) {
    out.bytes.insert(out.bytes.end(), reply.begin(), reply.end());
    return false;
  }
  if (fault->times > 0) --fault->times;
  switch (fault->kind) {
    case FaultKind::Silence:
      return true;
    case FaultKind::WrongReply: {
      Bytes wrong = reply.empty() ? Bytes{0xEE} : reply;
      if (pageNumberAt && *pageNumberAt < wrong.size()) {
        wrong[*pageNumberAt] = static_cast<std::uint8_t>(wrong[*pageNumberAt] + 1);
      } else {
        wrong[0] = static_cast<std::uint8_t>(wrong[0] ^ 0xFF);
      }
      out.bytes.insert(out.bytes.end(), wrong.begin(), wrong.end());
      return true;
    }
    case FaultKind::ShortReply:
      out.bytes.insert(out.bytes.end(), reply.begin(),
                       reply.begin() + static_cast<std::ptrdiff_t>(reply.size() / 2));
      return true;
    case FaultKind::Vanish: {
      const std::size_t keep = std::min(fault->vanishAfterBytes, reply.size());
      out.bytes.insert(out.bytes.end(), reply.begin(),
                       reply.begin() + static_cast<std::ptrdiff_t>(keep));
      out.vanishAt = out.bytes.size();
      return true;
    }
  }
  return true;
}

void FaultPlan::setBlockReplies(int index, std::vector<int> replies) {
  blockReplies_[index] = std::move(replies);
}

int FaultPlan::blockReply(int index, int acceptByte) {
  const auto it = blockReplies_.find(index);
  if (it == blockReplies_.end() || it->second.empty()) return acceptByte;
  const int answer = it->second.front();
  it->second.erase(it->second.begin());
  return answer;
}

}  // namespace orx::sim
