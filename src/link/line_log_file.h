#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace qelvo::link {

// A text log written line by line to FILE.tmp and renamed to FILE by Finish. Every line is
// flushed as it comes, so a run that is killed or crashes leaves FILE.tmp with each whole
// line written so far, and FILE never holds half a log.
class LineLogFile {
 public:
  // Creates FILE.tmp; nullptr and a message in `error` when it cannot.
  static std::unique_ptr<LineLogFile> Create(const std::string& path, std::string& error);
  // Without Finish, FILE.tmp stays as it is.
  ~LineLogFile();
  LineLogFile(const LineLogFile&) = delete;
  LineLogFile& operator=(const LineLogFile&) = delete;

  // `line` with its line break; written in one piece.
  bool Append(std::string_view line, std::string& error);
  // Puts FILE.tmp on disk, closes it and renames it to FILE; true once it is done.
  bool Finish(std::string& error);

  const std::string& path() const { return path_; }
  const std::string& temporaryPath() const { return temporaryPath_; }

 private:
  LineLogFile(std::string path, std::string temporaryPath, std::FILE* file);

  std::string path_;
  std::string temporaryPath_;
  std::FILE* file_;
  bool finished_ = false;
};

}  // namespace qelvo::link
