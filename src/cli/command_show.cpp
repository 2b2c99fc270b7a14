#include <cstdio>
#include <ostream>

#include "catalogue/loader.h"
#include "cli/command.h"
#include "cli/loaded_controller.h"
#include "cli/messages.h"
#include "cli/page_listing.h"

namespace qelvo::cli {
namespace {

std::string Hex4(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", value & 0xFFFFu);
  return text;
}

}  // namespace

int RunShow(CommandContext& context) {
  ImageSource source;
  std::string error;
  if (!TakeImageSource(context.words, source, error))
    return UsageError(context, "show", error);
  if (!context.words.empty())
    return UsageError(context, "show", "unexpected '" + context.words[0] + "'");

  std::optional<LoadedImage> loaded = LoadImage(source, context.err);
  if (!loaded)
    return kExitFailure;

  const catalogue::ControllerIdentity identity = catalogue::IdentifyController(loaded->image);
  std::ostream& out = context.out;
  out << "Module Name:      " << ModuleNameText(loaded->image) << "\n"
      << "Family:           " << identity.familyCode << "\n"
      << "Software Version: " << Hex4(identity.softwareVersion) << "\n"
      << "Voltage class:    " << identity.voltageClass << "\n"
      << "Controller Volt:  " << identity.controllerVoltage << "\n"
      << "Table:            " << loaded->tables->calibrationTableId << "\n"
      << "COM page:         " << (loaded->comPageVisible ? "shown" : "hidden") << "\n";

  std::string page;
  for (const ListedRow& row : ListShownRows(*loaded->tables, loaded->image)) {
    if (row.page != page) {
      page = row.page;
      out << "\n[" << page << "]\n";
    }
    out << "  " << row.caption << " = " << row.value;
    if (!row.flag)
      out << "  (" << row.rangeL << ".." << row.rangeH << ")";
    out << (row.editable ? "" : "  read-only") << "\n";
  }
  return kExitSuccess;
}

}  // namespace qelvo::cli
