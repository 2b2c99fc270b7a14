#include "cli/tick_csv_log.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <utility>

namespace qelvo::cli {
namespace {

constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::string_view kFaultSeparator = "; ";

std::string SystemError(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::generic_category().message(errno);
}

std::string HeaderLine(const MonitorView& view) {
  std::string line = "time,ms,status";
  for (const std::string& name : view.names())
    line += "," + CsvField(name);
  return line + ",active faults\n";
}

std::string RowLine(const MonitorView& view, const TickStamp& stamp) {
  std::string line =
      stamp.isoTime + "," + std::to_string(stamp.msSinceStart) + "," + CsvField(view.status());
  for (const std::string& value : view.values())
    line += "," + CsvField(value);
  std::string faults;
  for (const std::string& name : view.activeFaults())
    faults += (faults.empty() ? "" : std::string(kFaultSeparator)) + name;
  return line + "," + CsvField(faults) + "\n";
}

}  // namespace

std::string CsvField(std::string_view text) {
  const bool quoted = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                      (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quoted)
    return std::string(text);
  std::string field = "\"";
  for (char c : text) {
    if (c == '"')
      field += '"';
    field += c;
  }
  return field + "\"";
}

std::unique_ptr<TickCsvLog> TickCsvLog::Create(const std::string& path, const MonitorView& view,
                                               std::string& error) {
  const std::string temporary = path + std::string(kTemporarySuffix);
  std::FILE* file = std::fopen(temporary.c_str(), "w");
  if (file == nullptr) {
    error = SystemError("Cannot write", temporary);
    return nullptr;
  }
  std::unique_ptr<TickCsvLog> log(new TickCsvLog(path, file));
  if (!log->WriteLine(HeaderLine(view), error))
    return nullptr;
  return log;
}

TickCsvLog::TickCsvLog(std::string path, std::FILE* file)
    : path_(std::move(path)), temporaryPath_(path_ + std::string(kTemporarySuffix)), file_(file) {}

TickCsvLog::~TickCsvLog() {
  if (file_ != nullptr)
    std::fclose(file_);
}

bool TickCsvLog::WriteLine(const std::string& line, std::string& error) {
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

bool TickCsvLog::Append(const MonitorView& view, const TickStamp& stamp, std::string& error) {
  return WriteLine(RowLine(view, stamp), error);
}

bool TickCsvLog::Finish(std::string& error) {
  if (file_ == nullptr)
    return true;
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
  return true;
}

}  // namespace qelvo::cli
