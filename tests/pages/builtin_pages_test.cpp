// Every shown row is written back when its page is hidden, so showing and hiding the pages
// of a controller's own block, untouched, must give back every byte and accept every row.
#include <gtest/gtest.h>

#include <memory>

#include "app/templates/templates.h"
#include "catalogue/loader.h"
#include "pages/page_fixture.h"
#include "pages/parameter_page.h"
#include "pages/vehicle_page.h"
#include "sim/default_image.h"

namespace qelvo::test_pages {
namespace {

struct BuiltinTable {
  int id;
  const char* family;
  std::uint16_t version;
};
constexpr BuiltinTable kBuiltinTables[] = {
    {140, "QV", 0x0104}, {153, "QV", 0x0105}, {162, "QV", 0x0106},
    {165, "QV", 0x0109}, {158, "RN", 0x0101}, {159, "RN", 0x0102},
};

class BuiltinPagesTest : public PageFixture {};

TEST_F(BuiltinPagesTest, UntouchedPagesGiveBackTheImageByteForByte) {
  for (const BuiltinTable& table : kBuiltinTables) {
    SCOPED_TRACE(table.id);
    sim::Identity identity;
    identity.family = table.family;
    identity.softwareVersion = table.version;
    image_ = sim::DefaultImage(identity);
    *tables_ = catalogue::DescriptionTables{};
    const catalogue::LoadResult loaded = catalogue::LoadDescriptionTables(image_, *tables_, {});
    ASSERT_TRUE(loaded.ok()) << loaded.error;
    ASSERT_EQ(tables_->calibrationTableId, table.id);
    const link::CalibrationImage before = image_;

    std::unique_ptr<pages::ParameterPage> all[] = {
        std::make_unique<pages::CVehicleDlg>(*app::PageTemplate(app::kVehiclePageTemplateId),
                                             Context(), [] { return ui::kResultCancel; }),
        std::make_unique<pages::CControlDlg>(*app::PageTemplate(app::kControlPageTemplateId),
                                             Context()),
        std::make_unique<pages::CMotorDlg>(*app::PageTemplate(app::kMotorPageTemplateId),
                                           Context()),
        std::make_unique<pages::CCOMDlg>(*app::PageTemplate(app::kComPageTemplateId), Context()),
    };
    for (const auto& page : all) {
      Create(*page);
      page->Show();
      page->Hide();
      EXPECT_TRUE(page->PageValid()) << "page " << Window(*page).Template().id;
    }

    EXPECT_EQ(image_, before);
    EXPECT_TRUE(backend_.Messages().empty());
    for (const ui::MessageRecord& box : backend_.Messages())
      ADD_FAILURE() << std::string(box.text.begin(), box.text.end());
    backend_.ClearMessages();
  }
}

}  // namespace
}  // namespace qelvo::test_pages
