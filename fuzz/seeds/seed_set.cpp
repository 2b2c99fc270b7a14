#include "seeds/seed_set.h"

namespace qelvo::fuzz {

std::vector<Seed> SeedsFor(std::string_view target) {
  if (target == "description_table")
    return DescriptionTableSeeds();
  if (target == "packet_stream")
    return PacketStreamSeeds();
  if (target == "row_collection")
    return RowCollectionSeeds();
  if (target == "image_file")
    return ImageFileSeeds();
  if (target == "sim_requests")
    return SimRequestsSeeds();
  if (target == "backup_file")
    return BackupFileSeeds();
  return {};
}

}  // namespace qelvo::fuzz
