#pragma once

#include <iosfwd>
#include <span>
#include <string>

namespace qelvo::cli {

// Runs `qelvo` with the arguments after the program name; returns the exit status.
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           std::istream& in);

}  // namespace qelvo::cli
