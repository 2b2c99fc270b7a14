#include "pages/page_template.h"

#include "pages/page_rows.h"

namespace qelvo::pages {

int TemplateControlRun(const ui::DialogTemplate& tmpl, int firstId) {
  int count = 0;
  while (tmpl.Find(firstId + count) != nullptr)
    ++count;
  return count;
}

int TemplateSlotCount(const ui::DialogTemplate& tmpl) {
  int count = 0;
  while (tmpl.Find(LabelId(count)) != nullptr && tmpl.Find(EditId(count)) != nullptr)
    ++count;
  return count;
}

}  // namespace qelvo::pages
