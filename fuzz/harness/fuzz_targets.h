#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "harness/backup_file_check.h"
#include "harness/description_table_check.h"
#include "harness/image_file_check.h"
#include "harness/packet_stream_check.h"
#include "harness/row_collection_check.h"
#include "harness/sim_requests_check.h"
#include "harness/violation.h"

namespace qelvo::fuzz {

// A fuzz target by the name its folders under fuzz/ carry, and the check it runs on one input.
struct FuzzTarget {
  std::string_view name;
  Violation (*check)(std::span<const std::uint8_t>);
};

inline constexpr std::array<FuzzTarget, 6> kFuzzTargets{{
    {"description_table", &CheckDescriptionTable},
    {"packet_stream", &CheckPacketStream},
    {"row_collection", &CheckRowCollection},
    {"image_file", &CheckImageFile},
    {"sim_requests", &CheckSimRequests},
    {"backup_file", &CheckBackupFile},
}};

}  // namespace qelvo::fuzz
