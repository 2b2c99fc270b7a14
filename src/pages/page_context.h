#pragma once

#include <cstdint>
#include <span>

#include "catalogue/tables.h"
#include "ui/dialog.h"

namespace qelvo::pages {

// What a parameter page uses of the run's state; the application owns all of it.
struct PageContext {
  ui::Backend& backend;
  const catalogue::DescriptionTables& tables;
  std::span<std::uint8_t, 512> image;
  const bool& imageValid;
};

}  // namespace qelvo::pages
