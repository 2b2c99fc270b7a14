#pragma once

#include <QRect>
#include <QString>

#include "ui/dialog.h"

class QWidget;

namespace qelvo::ui {

// The widget for one template control, a child of `parent`, at `pixels` within it, with the
// template's caption and visibility.
QWidget* CreateControlWidget(const ControlTemplate& control, QWidget* parent, const QRect& pixels);

// Puts a caption on a control widget. Texts are shown as they stand: an '&' is a character,
// not a keyboard shortcut, and no text is read as markup.
void SetControlCaption(QWidget* widget, ControlKind kind, const QString& text);

}  // namespace qelvo::ui
