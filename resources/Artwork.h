// The program's pictures, drawn in code: the program icon (129), the banner at
// the top of the main window (142) and the information bitmap beside the
// throttle-response edits (169). The banner draws text, so it needs a running
// QGuiApplication; the other two do not.
#pragma once

#include <QImage>

namespace orx::res {

QImage programIcon(int size);
QImage banner(int width, int height);
QImage infoBitmap(int size);

}  // namespace orx::res
