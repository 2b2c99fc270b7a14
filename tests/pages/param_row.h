#pragma once

#include <string>
#include <utility>

#include "catalogue/tables.h"

namespace qelvo::test_pages {

// A table row for tests: shown, editable, 0..255 unless told otherwise.
class Row {
 public:
  Row(int address, int pro, int pos, std::u16string sw) {
    item_.address = address;
    item_.pro = pro;
    item_.pos = pos;
    item_.sw = std::move(sw);
    item_.show = 1;
    item_.en = 1;
    item_.rangeL = 0;
    item_.rangeH = 255;
  }
  Row& Name(std::u16string name) {
    item_.name = std::move(name);
    return *this;
  }
  Row& Tips(std::u16string tips) {
    item_.tips = std::move(tips);
    return *this;
  }
  Row& Range(int low, int high) {
    item_.rangeL = low;
    item_.rangeH = high;
    return *this;
  }
  Row& En(int en) {
    item_.en = en;
    return *this;
  }
  Row& Show(int show) {
    item_.show = show;
    return *this;
  }
  operator catalogue::ParamItem() const { return item_; }

 private:
  catalogue::ParamItem item_;
};

}  // namespace qelvo::test_pages
