#pragma once

#include <string>

#include "ui/dialog.h"

namespace qelvo::app {

// A template row: where a control stands, what it is, and its placeholder caption.
inline ui::ControlTemplate MakeControl(int id, ui::ControlKind kind, int x, int y, int width,
                                       int height, std::u16string caption = {},
                                       bool visible = true) {
  ui::ControlTemplate c;
  c.id = id;
  c.kind = kind;
  c.x = x;
  c.y = y;
  c.width = width;
  c.height = height;
  c.visible = visible;
  c.caption = std::move(caption);
  return c;
}

}  // namespace qelvo::app
