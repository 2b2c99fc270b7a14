#include "cli/tick_csv_log.h"

#include <utility>

namespace qelvo::cli {
namespace {

constexpr std::string_view kFaultSeparator = "; ";

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
  std::unique_ptr<link::LineLogFile> file = link::LineLogFile::Create(path, error);
  if (!file || !file->Append(HeaderLine(view), error))
    return nullptr;
  return std::unique_ptr<TickCsvLog>(new TickCsvLog(std::move(file)));
}

TickCsvLog::TickCsvLog(std::unique_ptr<link::LineLogFile> file) : file_(std::move(file)) {}

bool TickCsvLog::Append(const MonitorView& view, const TickStamp& stamp, std::string& error) {
  return file_->Append(RowLine(view, stamp), error);
}

bool TickCsvLog::Finish(std::string& error) {
  return file_->Finish(error);
}

}  // namespace qelvo::cli
