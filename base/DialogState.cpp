#include "DialogState.h"

namespace orx {

const ControlState& DialogState::get(int id) const {
  static const ControlState empty;
  auto it = controls_.find(id);
  return it == controls_.end() ? empty : it->second;
}

ControlState& DialogState::slot(int id) {
  changed_.insert(id);
  return controls_[id];
}

void DialogState::setText(int id, std::string text) {
  if (contains(id) && get(id).text == text) return;
  slot(id).text = std::move(text);
}

void DialogState::setItems(int id, std::vector<std::string> items) {
  ControlState& c = slot(id);
  c.items = std::move(items);
  c.selection = -1;
}

void DialogState::select(int id, int index) {
  const int n = static_cast<int>(get(id).items.size());
  const int sel = (index >= 0 && index < n) ? index : -1;
  if (contains(id) && get(id).selection == sel) return;
  slot(id).selection = sel;
}

bool DialogState::selectText(int id, const std::string& text) {
  const auto& entries = get(id).items;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i] == text) {
      select(id, static_cast<int>(i));
      return true;
    }
  }
  select(id, -1);
  return false;
}

std::string DialogState::selectedText(int id) const {
  const ControlState& c = get(id);
  if (c.selection < 0 || c.selection >= static_cast<int>(c.items.size())) return {};
  return c.items[static_cast<size_t>(c.selection)];
}

void DialogState::setChecked(int id, bool checked) {
  if (contains(id) && get(id).checked == checked) return;
  slot(id).checked = checked;
}

void DialogState::setEnabled(int id, bool enabled) {
  if (contains(id) && get(id).enabled == enabled) return;
  slot(id).enabled = enabled;
}

void DialogState::setValue(int id, int value) {
  if (contains(id) && get(id).value == value) return;
  slot(id).value = value;
}

void DialogState::set(int id, const ControlState& state) {
  if (contains(id) && get(id) == state) return;
  slot(id) = state;
}

std::vector<int> DialogState::takeChanged() {
  std::vector<int> out(changed_.begin(), changed_.end());
  changed_.clear();
  return out;
}

}  // namespace orx
