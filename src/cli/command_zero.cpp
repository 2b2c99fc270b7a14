#include <algorithm>
#include <ostream>

#include "cli/command.h"
#include "cli/connection.h"
#include "cli/controller_write.h"
#include "cli/loaded_controller.h"
#include "cli/messages.h"
#include "cli/text.h"
#include "zero/zero_readings.h"

namespace qelvo::cli {
namespace {

constexpr std::string_view kNoReadingCounted =
    "No zero-point reading counted: the controller did not answer.";

void PrintReadings(const zero::ZeroHistories& histories, const zero::KeptZeroValues& kept,
                   std::ostream& out) {
  std::size_t width = 0;
  for (const zero::ZeroChannel& channel : zero::kZeroChannels)
    width = std::max(width, channel.name.size());
  for (std::size_t k = 0; k < zero::kZeroChannels.size(); ++k) {
    std::string name = ToUtf8(zero::kZeroChannels[k].name);
    name.resize(width, ' ');
    out << name << "  readings " << ToUtf8(histories[k]) << "  lowest " << kept.values[k] << "\n";
  }
}

}  // namespace

int RunZero(CommandContext& context) {
  ImageSource source;
  std::string error;
  if (!TakeConnectionOptions(context.words, source.connection, error))
    return UsageError(context, "zero", error);
  bool store = false;
  const bool verify = std::erase(context.words, std::string("--verify")) > 0;
  for (const std::string& word : context.words) {
    if (word != "--store")
      return UsageError(context, "zero", "unexpected '" + word + "'");
    store = true;
  }
  if (verify && !store)
    return UsageError(context, "zero", "--verify goes with --store");

  // Storing needs the controller's image first: the zero points go into it and it is
  // written back whole.
  std::optional<LoadedImage> loaded;
  std::unique_ptr<ControllerSession> session;
  if (store) {
    loaded = LoadImage(source, context.err);
    if (!loaded)
      return kExitFailure;
  } else {
    session = ControllerSession::Open(source.connection, context.err, error);
    if (!session) {
      context.err << error << "\n";
      return kExitFailure;
    }
  }
  link::Link& link = store ? loaded->session->link() : session->link();

  zero::KeptZeroValues kept;
  zero::ZeroHistories histories;
  const int counted = zero::TakeZeroReadings(link, kept, histories);
  if (counted == 0) {
    context.err << kNoReadingCounted << (store ? " Nothing was stored." : "") << "\n";
    return kExitFailure;
  }
  PrintReadings(histories, kept, context.out);
  if (counted < zero::kReadingsPerRead)
    context.err << counted << " of " << zero::kReadingsPerRead << " readings counted.\n";
  if (!store)
    return kExitSuccess;

  zero::StoreZeroValues(kept, loaded->image);
  return WriteToController(link, loaded->image, context.out, context.err,
                           {verify, loaded->tables.get()})
             ? kExitSuccess
             : kExitFailure;
}

}  // namespace qelvo::cli
