#include "app/DataLogWindows.h"

namespace orx {

void DataLogWindows::open() {
  auto* window = new graph::Graph(&source_, prompter_, files_, owner_);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
  current_ = window;
}

}  // namespace orx
