#include "link/line_log_file.h"

#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

namespace qelvo::link {
namespace {

constexpr std::string_view kTemporarySuffix = ".tmp";

std::string SystemError(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::generic_category().message(errno);
}

}  // namespace

std::unique_ptr<LineLogFile> LineLogFile::Create(const std::string& path, std::string& error) {
  std::string temporary = path + std::string(kTemporarySuffix);
  std::FILE* file = std::fopen(temporary.c_str(), "w");
  if (file == nullptr) {
    error = SystemError("Cannot write", temporary);
    return nullptr;
  }
  return std::unique_ptr<LineLogFile>(new LineLogFile(path, std::move(temporary), file));
}

LineLogFile::LineLogFile(std::string path, std::string temporaryPath, std::FILE* file)
    : path_(std::move(path)), temporaryPath_(std::move(temporaryPath)), file_(file) {}

LineLogFile::~LineLogFile() {
  if (file_ != nullptr)
    std::fclose(file_);
}

bool LineLogFile::Append(std::string_view line, std::string& error) {
  if (file_ == nullptr) {
    error = "Cannot write " + temporaryPath_ + ": it is closed";
    return false;
  }
  if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() || std::fflush(file_) != 0) {
    error = SystemError("Cannot write", temporaryPath_);
    return false;
  }
  return true;
}

bool LineLogFile::Finish(std::string& error) {
  if (file_ == nullptr) {
    if (!finished_)
      error = "Cannot write " + path_ + ": an earlier attempt failed";
    return finished_;
  }
  // On disk before the rename, so that FILE never names a log the system has not kept.
  const bool synced = ::fsync(fileno(file_)) == 0;
  const bool closed = std::fclose(std::exchange(file_, nullptr)) == 0;
  if (!synced || !closed) {
    error = SystemError("Cannot write", temporaryPath_);
    return false;
  }
  if (std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
    error = SystemError("Cannot rename " + temporaryPath_ + " to", path_);
    return false;
  }
  finished_ = true;
  return true;
}

}  // namespace qelvo::link
