// Buttons the small dialogs of the program share.
#pragma once

#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <functional>

namespace orx {

// A push button named by its control id that Enter does not press.
QPushButton* plainButton(const char* text, int id, QWidget* parent);

// Two action buttons on the left and OK on the right.
QHBoxLayout* actionRow(QPushButton* first, QPushButton* second, QPushButton* ok);

// OK (id 1) and Cancel (id 2) at the foot of `layout`: OK calls `onOk`,
// Cancel rejects `dialog`.
QDialogButtonBox* addOkCancel(QDialog& dialog, QBoxLayout& layout, std::function<void()> onOk);

}  // namespace orx
