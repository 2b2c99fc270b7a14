#include <array>
#include <optional>
#include <ostream>

#include "cli/command.h"
#include "cli/connection.h"
#include "cli/image_difference.h"
#include "cli/image_or_backup.h"
#include "cli/loaded_controller.h"
#include "cli/messages.h"

namespace qelvo::cli {
namespace {

// As diff(1): 0 the same, 1 different, 2 trouble.
constexpr int kExitSame = 0;
constexpr int kExitDifferent = 1;
constexpr int kExitTrouble = 2;
constexpr std::string_view kControllerWord = "controller";

struct Side {
  std::string name;
  link::CalibrationImage image{};
  TablesForImage tables;
};

// Why the two sides cannot be compared row by row; empty when they can.
std::string WhyBytesOnly(const Side& a, const Side& b) {
  for (const Side* side : {&a, &b})
    if (!side->tables.tables)
      return side->name + ": " + side->tables.error;
  const int tableA = a.tables.tables->calibrationTableId;
  const int tableB = b.tables.tables->calibrationTableId;
  if (tableA != tableB)
    return a.name + " is read with table " + std::to_string(tableA) + ", " + b.name +
           " with table " + std::to_string(tableB);
  return {};
}

}  // namespace

int RunDiff(CommandContext& context) {
  ConnectionOptions connection;
  std::string error;
  if (!TakeConnectionOptions(context.words, connection, error))
    return UsageError(context, "diff", error);
  if (context.words.size() != 2)
    return UsageError(context, "diff", "needs two images A and B");
  if (context.words[0] == kControllerWord && context.words[1] == kControllerWord)
    return UsageError(context, "diff", "only one of A and B can be the controller");

  std::array<Side, 2> sides;
  std::optional<std::size_t> controllerSide;
  // Files first, so a bad one is told before any port is touched.
  for (std::size_t i = 0; i < sides.size(); ++i) {
    sides[i].name = context.words[i];
    if (sides[i].name == kControllerWord) {
      controllerSide = i;
      continue;
    }
    const ImageOrBackup file = ReadImageOrBackup(sides[i].name);
    if (!file.image) {
      context.err << file.error << "\n";
      return kExitTrouble;
    }
    sides[i].image = *file.image;
  }
  if (controllerSide) {
    auto session = ControllerSession::Open(connection, context.err, error);
    if (!session) {
      context.err << error << "\n";
      return kExitTrouble;
    }
    link::CalibrationImage& image = sides[*controllerSide].image;
    image = link::FreshImage();
    if (!link::ReadImage(session->link(), image)) {
      context.err << kReadError << "\n";
      return kExitTrouble;
    }
  }
  for (Side& side : sides)
    side.tables = LoadTablesFor(side.image);

  const std::string bytesOnly = WhyBytesOnly(sides[0], sides[1]);
  if (!bytesOnly.empty())
    context.out << bytesOnly << ": comparing bytes only.\n";
  const catalogue::DescriptionTables* tables =
      bytesOnly.empty() ? sides[0].tables.tables.get() : nullptr;
  const ImageDifference difference = CompareImages(tables, sides[0].image, sides[1].image);
  PrintRowChanges(difference, "", context.out);
  context.out << (tables ? "Other bytes differing: " : "Bytes differing: ") << difference.otherBytes
              << "\n";
  return difference.identical ? kExitSame : kExitDifferent;
}

}  // namespace qelvo::cli
