// File dialogs as data: flows say what they need, the Qt side shows a
// QFileDialog, tests answer with a path.
#pragma once

#include <optional>
#include <string>

namespace orx {

struct FileDialogRequest {
  enum class Kind { Open, Save };
  Kind kind = Kind::Open;
  // Filter in the Windows form "Config Files (*.cfg)|*.cfg||": pairs of a
  // description and its patterns, separated by '|'. The Qt side converts it.
  std::string filter;
  std::string defaultExtension;  // without the dot; "" for none
  // The kind of file ("settings", "firmware", "csv", ...): the dialog opens
  // in the folder last used for that kind. "" for the dialog's own default.
  std::string folder;
  // Saving over an existing file: the user is asked first, or the caller
  // refuses it itself (then nobody asks a question whose Yes would not hold).
  enum class Existing { Confirmed, Refused };
  Existing existing = Existing::Confirmed;
};

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // The chosen path (UTF-8, as the file system takes it), or nothing on Cancel.
  virtual std::optional<std::string> choose(const FileDialogRequest& request) = 0;
};

}  // namespace orx
