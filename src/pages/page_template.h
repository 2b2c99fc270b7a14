#pragma once

#include "ui/dialog.h"

namespace qelvo::pages {

// How many item slots the template carries (label and edit both present, from slot 0 on).
int TemplateSlotCount(const ui::DialogTemplate& tmpl);
// How many controls the template carries with the consecutive ids firstId, firstId + 1, ...
int TemplateControlRun(const ui::DialogTemplate& tmpl, int firstId);

}  // namespace qelvo::pages
