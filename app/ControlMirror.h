// Shows one control's state on its widget. Used only for changes made from
// code: signals are blocked, so no handler meant for the user runs, and a
// widget that already shows the state is left alone (an edit keeps its cursor).
#pragma once

#include <QString>
#include <string>

#include "base/DialogState.h"

class QWidget;

namespace orx {

void applyControlState(QWidget* widget, const ControlState& state);

// Windows-1252 text of the model to the widget's text, and back.
QString toWidgetText(const std::string& cp1252);
std::string fromWidgetText(const QString& text);

}  // namespace orx
