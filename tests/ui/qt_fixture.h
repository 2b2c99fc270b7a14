#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QRect>
#include <QTest>
#include <cmath>
#include <memory>

#include "ui/qt/dialog_units.h"
#include "ui/qt/qt_backend.h"
#include "ui/qt/qt_dialog.h"
#include "ui/recording_events.h"
#include "ui/test_templates.h"

namespace qelvo::ui::testing {

// Pixels of a rectangle in dialog units, worked out from the font's own metrics.
inline QRect ExpectedPixels(const FontSpec& font, const Rect& r) {
  const QFontMetrics metrics(DialogFont(font));
  const double across = AverageLetterWidth(metrics) / 4.0;
  const double down = metrics.height() / 8.0;
  const auto left = std::lround(r.x * across);
  const auto top = std::lround(r.y * down);
  const auto right = std::lround((r.x + r.width) * across);
  const auto bottom = std::lround((r.y + r.height) * down);
  return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

class QtDialogTest : public ::testing::Test {
 protected:
  QtDialog& Make(const DialogTemplate& tmpl, RecordingEvents& events, Dialog* parent = nullptr,
                 std::optional<Rect> place = std::nullopt) {
    owned_.push_back(backend_.CreateDialog(tmpl, events, parent, place));
    return static_cast<QtDialog&>(*owned_.back());
  }
  // Shows a window and waits until it has the keyboard.
  void ShowActive(QtDialog& d) {
    d.Show();
    QApplication::setActiveWindow(d.Widget());
    ASSERT_TRUE(QTest::qWaitForWindowActive(d.Widget()));
  }
  void TearDown() override {
    owned_.clear();
    // Let the widgets of destroyed dialogs go before the next test.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  QtBackend backend_;
  RecordingEvents events_;
  RecordingEvents pageEvents_;  // outlives the dialogs below
  std::vector<std::unique_ptr<Dialog>> owned_;
};

}  // namespace qelvo::ui::testing
