#pragma once

#include <string>

#include "bench/exchange_model.h"

namespace qelvo::bench {

// Reads a frame trace written by a program's --trace option back into exchanges, in the
// order the frames went. Lines that are no frame are skipped. False when the file cannot be
// read.
bool ReadTraceFile(const std::string& path, ExchangeRecorder& recorder);

}  // namespace qelvo::bench
