// The main window's controls as data, keyed by control id.
//
// The settings live in the controls: a read writes them, the user edits them, a
// send reads them. Codecs, the settings file and the flows work on this table;
// the Qt window only mirrors it. Every setter records the id it changed, so the
// mirror can update just those widgets (and without running the handlers meant
// for the user's own changes).
//
// Not thread-safe by itself; see SharedControls for the copy both threads use.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace orx {

struct ControlState {
  std::string text;                // Windows-1252: edit text, static text, button caption
  std::vector<std::string> items;  // list entries
  int selection = -1;              // list selection, -1 for none
  bool checked = false;            // radio buttons and check boxes
  bool enabled = true;
  int value = 0;                   // progress bar position

  bool operator==(const ControlState&) const = default;
};

// Window fields that the control handlers and the send share (not controls).
struct DialogFlags {
  bool RangeResetPending = false;
  bool MinRangeEdited = false;
  bool MaxRangeEdited = false;

  bool operator==(const DialogFlags&) const = default;
};

class DialogState {
 public:
  const ControlState& get(int id) const;
  bool contains(int id) const { return controls_.count(id) != 0; }

  const std::string& text(int id) const { return get(id).text; }
  void setText(int id, std::string text);

  const std::vector<std::string>& items(int id) const { return get(id).items; }
  // Replaces the entries; the list is left without a selection.
  void setItems(int id, std::vector<std::string> items);

  int selection(int id) const { return get(id).selection; }
  // An index outside the entries clears the selection.
  void select(int id, int index);
  // Selects the entry equal to text; returns false (and clears the selection) when none is.
  bool selectText(int id, const std::string& text);
  // The text a drop list shows: its selected entry, or "" without a selection.
  std::string selectedText(int id) const;

  bool checked(int id) const { return get(id).checked; }
  void setChecked(int id, bool checked);

  bool enabled(int id) const { return get(id).enabled; }
  void setEnabled(int id, bool enabled);

  int value(int id) const { return get(id).value; }
  void setValue(int id, int value);

  // Replaces one control's whole state.
  void set(int id, const ControlState& state);

  // Ids changed since the last call, ascending, each once.
  std::vector<int> takeChanged();
  bool hasChanges() const { return !changed_.empty(); }

  DialogFlags flags;

 private:
  ControlState& slot(int id);
  std::map<int, ControlState> controls_;
  std::set<int> changed_;
};

}  // namespace orx
