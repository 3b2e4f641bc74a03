// Message boxes as data. Flows describe a box (caption, icon, buttons, text) and
// get the user's answer; the Qt side shows a QMessageBox, tests record the box
// and answer it.
#pragma once

#include <string>

namespace orx {

enum class MsgIcon { None, Error, Warning, Information, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

inline constexpr const char* kCaption = "ORX Device";
// The caption a box gets when none is given: the program's name, so the
// user can tell which program speaks.
inline constexpr const char* kDefaultCaption = "ORX Device Manager";
// The caption the system itself gives a box shown without one.
inline constexpr const char* kSystemCaption = "Error";
inline constexpr const char* kWindowTitle = "ORX Device Manager V1.38.8";

struct Message {
  std::string caption = kCaption;
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::Ok;
  std::string text;  // Windows-1252, line breaks as given

  bool operator==(const Message&) const = default;
};

inline Message errorBox(std::string text) { return {kCaption, MsgIcon::Error, MsgButtons::Ok, std::move(text)}; }
inline Message warningBox(std::string text) { return {kCaption, MsgIcon::Warning, MsgButtons::Ok, std::move(text)}; }

// Shows a box and waits for the answer. Implementations say on which thread
// they may be called; the window's one may be called from any thread.
class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual MsgAnswer ask(const Message& message) = 0;
};

}  // namespace orx
