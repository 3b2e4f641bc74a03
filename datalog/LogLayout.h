// Sizes of the NVQ series ESC's log memory and of its records.
#pragma once

#include <cstddef>

namespace orx::datalog {

inline constexpr std::size_t kRecordSize = 11;
inline constexpr std::size_t kRecordsPerPage = 23;
inline constexpr std::size_t kPageSize = kRecordSize * kRecordsPerPage;  // 253
inline constexpr std::size_t kPageCount = 256;
inline constexpr std::size_t kLogCapacity = kPageSize * kPageCount;       // 64,768
inline constexpr std::size_t kMaxRecords = kLogCapacity / kRecordSize;    // 5,888

}  // namespace orx::datalog
