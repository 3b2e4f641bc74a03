#include "dialogs/ColourPopup.h"

#include <QColorDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <qdrawutil.h>

namespace orx {

namespace {

constexpr int kEdge = 2;  // the system edge width, which is also the margin

CColourPopup::ColourDialog& colourDialog() {
  static CColourPopup::ColourDialog dialog = [](ColourRef initial, QWidget* parent) -> std::optional<ColourRef> {
    const QColor start(RedOf(initial), GreenOf(initial), BlueOf(initial));
    const QColor picked = QColorDialog::getColor(start, parent);
    if (!picked.isValid()) return std::nullopt;
    return Rgb(static_cast<uint8_t>(picked.red()), static_cast<uint8_t>(picked.green()),
               static_cast<uint8_t>(picked.blue()));
  };
  return dialog;
}

QColor toQColor(ColourRef c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

}  // namespace

QRect PopupLayout::cellRect(int c) const {
  if (c == cell::Automatic) return automaticBox;
  if (c == cell::Custom) return customBox;
  if (c < 0 || c >= kColourCount) return {};
  return QRect(gridOrigin.x() + (c % kColourColumns) * kCellSize, gridOrigin.y() + (c / kColourColumns) * kCellSize,
               kCellSize, kCellSize);
}

int PopupLayout::cellAt(const QPoint& point) const {
  if (!automaticBox.isEmpty() && automaticBox.contains(point)) return cell::Automatic;
  if (!customBox.isEmpty() && customBox.contains(point)) return cell::Custom;
  const int x = point.x() - gridOrigin.x();
  const int y = point.y() - gridOrigin.y();
  if (x < 0 || y < 0) return cell::None;
  const int column = x / kCellSize;
  const int row = y / kCellSize;
  if (column >= kColourColumns || row >= kColourRows) return cell::None;
  return row * kColourColumns + column;
}

PopupLayout LayoutPopup(int margin, QSize automaticText, QSize customText) {
  PopupLayout l;
  const int gridWidth = kColourColumns * kCellSize;
  const int gridHeight = kColourRows * kCellSize;
  int width = gridWidth + 2 * margin;
  const bool hasAutomatic = !automaticText.isEmpty();
  const bool hasCustom = !customText.isEmpty();
  int boxHeight = 0;
  if (hasAutomatic || hasCustom) {
    boxHeight = std::max(automaticText.height(), customText.height()) + 4 * margin + 2;
    width = std::max(width, std::max(automaticText.width(), customText.width()) + 2 * margin);
  }
  int top = margin;
  if (hasAutomatic) {
    l.automaticBox = QRect(margin, top, width - 2 * margin, boxHeight);
    top += boxHeight + margin;
  }
  l.gridOrigin = QPoint((width - gridWidth) / 2, top);
  top += gridHeight;
  if (hasCustom) {
    top += margin;
    l.customBox = QRect(margin, top, width - 2 * margin, boxHeight);
    top += boxHeight;
  }
  l.window = QSize(width, top + margin);
  return l;
}

QPoint PlacePopup(QPoint at, QSize window, int pickerHeight, const QRect& screen) {
  QPoint p = at;
  if (p.x() + window.width() > screen.right() + 1) p.setX(screen.right() + 1 - window.width());
  if (p.x() < screen.left()) p.setX(screen.left());
  if (p.y() + window.height() > screen.bottom() + 1) p.setY(at.y() - pickerHeight - window.height());
  return p;
}

void CColourPopup::setColourDialog(ColourDialog dialog) { colourDialog() = std::move(dialog); }

CColourPopup::CColourPopup(QPoint at, ColourRef initial, QWidget* picker, const QString& defaultText,
                           const QString& customText, int pickerHeight)
    : QWidget(picker, Qt::Popup),
      initial_(initial),
      chosenColour_(initial),
      defaultText_(defaultText),
      customText_(customText) {
  setAttribute(Qt::WA_DeleteOnClose);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setBackgroundRole(QPalette::Button);
  setAutoFillBackground(true);

  const QFontMetrics metrics(font());
  const auto textSize = [&](const QString& t) {
    return t.isEmpty() ? QSize() : QSize(metrics.horizontalAdvance(t), metrics.height());
  };
  layout_ = LayoutPopup(kEdge, textSize(defaultText_), textSize(customText_));
  chosen_ = ChosenCellFor(initial_, !defaultText_.isEmpty(), !customText_.isEmpty());

  QRect screen(0, 0, 1 << 16, 1 << 16);
  if (QScreen* s = QGuiApplication::screenAt(at)) screen = s->availableGeometry();
  else if (QScreen* primary = QGuiApplication::primaryScreen()) screen = primary->availableGeometry();
  setGeometry(QRect(PlacePopup(at, layout_.window, pickerHeight, screen), layout_.window));
  show();
  setFocus();
}

QString CColourPopup::toolTipAt(const QPoint& point) const {
  const int c = layout_.cellAt(point);
  return c >= 0 ? QString::fromLatin1(ColourTable()[c].name) : QString();
}

bool CColourPopup::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = toolTipAt(help->pos());
    if (tip.isEmpty()) QToolTip::hideText();
    else QToolTip::showText(help->globalPos(), tip, this, layout_.cellRect(layout_.cellAt(help->pos())));
    return true;
  }
  return QWidget::event(event);
}

void CColourPopup::paintCell(QPainter& p, int c) {
  const QRect r = layout_.cellRect(c);
  if (r.isEmpty()) return;
  if (c == hot_) qDrawShadePanel(&p, r, palette(), false, 1);
  else if (c == chosen_) qDrawShadePanel(&p, r, palette(), true, 1);

  if (c < 0) {
    const QString& text = c == cell::Automatic ? defaultText_ : customText_;
    p.setPen(palette().color(QPalette::ButtonText));
    p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, text);
    // The separator between the box and the grid.
    const int y = c == cell::Automatic ? r.bottom() + 1 : r.top() - 2;
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(r.left(), y, r.right(), y);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(r.left(), y + 1, r.right(), y + 1);
    return;
  }
  const QRect swatch = r.adjusted(kEdge + 1, kEdge + 1, -kEdge - 1, -kEdge - 1);
  p.setPen(palette().color(QPalette::Dark));
  p.setBrush(toQColor(ColourTable()[c].colour));
  p.drawRect(swatch.adjusted(0, 0, -1, -1));
}

void CColourPopup::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!defaultText_.isEmpty()) paintCell(p, cell::Automatic);
  for (int c = 0; c < kColourCount; ++c) paintCell(p, c);
  if (!customText_.isEmpty()) paintCell(p, cell::Custom);
  qDrawShadePanel(&p, rect(), palette(), false, 1);
}

void CColourPopup::setHot(int c) {
  if (c == hot_) return;
  const int old = hot_;
  hot_ = c;
  update(layout_.cellRect(old));
  update(layout_.cellRect(hot_));
  if (hot_ != cell::None) emit selChange(CellColour(hot_, initial_));
}

void CColourPopup::mouseMoveEvent(QMouseEvent* event) {
  const int c = layout_.cellAt(event->position().toPoint());
  if (c != cell::None) setHot(c);
}

// The selection is decided when the button comes up; a press outside must
// not close the popup before that, as Qt would by default.
void CColourPopup::mousePressEvent(QMouseEvent*) {}

void CColourPopup::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = event->position().toPoint();
  if (rect().contains(p)) {
    const int c = layout_.cellAt(p);
    if (c != cell::None) setHot(c);
    endSelection(true);
  } else {
    endSelection(false);
  }
}

void CColourPopup::keyPressEvent(QKeyEvent* event) {
  const bool hasAutomatic = !defaultText_.isEmpty();
  const bool hasCustom = !customText_.isEmpty();
  switch (event->key()) {
    case Qt::Key_Left: setHot(MoveCell(hot_, CellMove::Left, hasAutomatic, hasCustom)); break;
    case Qt::Key_Right: setHot(MoveCell(hot_, CellMove::Right, hasAutomatic, hasCustom)); break;
    case Qt::Key_Up: setHot(MoveCell(hot_, CellMove::Up, hasAutomatic, hasCustom)); break;
    case Qt::Key_Down: setHot(MoveCell(hot_, CellMove::Down, hasAutomatic, hasCustom)); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: endSelection(true); break;
    case Qt::Key_Escape: endSelection(false); break;
    default: QWidget::keyPressEvent(event); break;
  }
}

void CColourPopup::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  // Closed from outside (the application lost the focus, a click elsewhere).
  if (!ended_ && !dialogOpen_) endSelection(false);
}

void CColourPopup::endSelection(bool ok) {
  if (ended_) return;
  ended_ = true;
  // Ending on no cell (the frame, or Enter before any move) chooses nothing.
  if (ok && hot_ == cell::None) ok = false;
  if (ok) {
    chosen_ = hot_;
    chosenColour_ = CellColour(hot_, initial_);
    if (hot_ == cell::Custom) {
      dialogOpen_ = true;
      hide();
      const std::optional<ColourRef> picked = colourDialog()(initial_, parentWidget());
      dialogOpen_ = false;
      if (picked) chosenColour_ = *picked;
      else ok = false;
    }
  }
  if (!ok) chosenColour_ = initial_;
  if (ok) emit selEndOk(chosenColour_);
  else emit selEndCancel(chosenColour_);
  close();
}

}  // namespace orx
