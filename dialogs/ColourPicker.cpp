#include "dialogs/ColourPicker.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <qdrawutil.h>

namespace orx {

namespace {

constexpr int kEdge = 2;  // the system edge width and height

}  // namespace

QColor ToQColor(ColourRef c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

ColourRef FromQColor(const QColor& c) {
  return Rgb(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()), static_cast<uint8_t>(c.blue()));
}

CColourPicker::CColourPicker(QWidget* parent)
    : QPushButton(parent),
      colour_(FromQColor(palette().color(QPalette::Button))),
      textColour_(FromQColor(palette().color(QPalette::ButtonText))) {
  setAutoDefault(false);
  setFixedHeight(sizeHint().height());
  connect(this, &QPushButton::clicked, this, &CColourPicker::openPopup);
}

ColourRef CColourPicker::GetColour() const { return mode_ == kModeText ? textColour_ : colour_; }

void CColourPicker::SetColour(ColourRef colour) {
  if (mode_ == kModeText) SetTextColour(colour);
  else SetBkColour(colour);
}

void CColourPicker::SetBkColour(ColourRef colour) {
  colour_ = colour;
  redraw();
}

void CColourPicker::SetTextColour(ColourRef colour) {
  textColour_ = colour;
  redraw();
}

void CColourPicker::redraw() {
  if (isVisible()) repaint();
}

int CColourPicker::arrowSize() const {
  // Qt has one extent for both scroll-bar directions, and edges are square.
  const int thumb = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  return std::max(5 * kEdge, thumb);
}

QSize CColourPicker::sizeHint() const {
  const int d = arrowSize();
  return QSize(std::max(QPushButton::sizeHint().width(), 2 * (kEdge + d)), d + 2 * kEdge);
}

QRect CColourPicker::arrowRect() const {
  const int d = arrowSize();
  return QRect(width() - kEdge - d, kEdge, d, height() - 2 * kEdge);
}

void CColourPicker::openPopup() {
  active_ = true;
  update();
  auto* popup = new CColourPopup(mapToGlobal(rect().bottomLeft() + QPoint(0, 1)), GetColour(), this, defaultText_,
                                 customText_, height());
  popup_ = popup;
  const int id = controlId();
  connect(popup, &CColourPopup::selChange, this, [this, id](ColourRef c) {
    if (track_) SetColour(c);
    emit selChange(c, id);
  });
  connect(popup, &CColourPopup::selEndOk, this, [this, id](ColourRef c) {
    active_ = false;
    SetColour(c);
    emit closeUp(c, id);
    emit selEndOk(c, id);
    update();
  });
  connect(popup, &CColourPopup::selEndCancel, this, [this, id](ColourRef c) {
    active_ = false;
    SetColour(c);
    emit closeUp(c, id);
    emit selEndCancel(c, id);
    update();
  });
  emit dropDown(GetColour(), id);
}

void CColourPicker::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette& pal = palette();
  const QRect whole = rect();

  // The arrow, drawn as a scroll-bar button.
  const QRect arrow = arrowRect();
  const bool pushed = active_ || isDown();
  qDrawShadePanel(&p, arrow, pal, pushed, 1, &pal.brush(QPalette::Button));
  QStyleOption option;
  option.initFrom(this);
  option.rect = arrow.adjusted(2, 2, -2, -2).translated(pushed ? 1 : 0, pushed ? 1 : 0);
  if (!isEnabled()) option.state &= ~QStyle::State_Enabled;
  style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &p, this);

  qDrawShadePanel(&p, whole, pal, true, kEdge);

  const QRect swatch(kEdge, kEdge, arrow.left() - kEdge, whole.height() - 2 * kEdge);
  const bool plain = !isEnabled() || colour_ == kDefaultColour;
  p.fillRect(swatch, plain ? pal.color(QPalette::Button) : ToQColor(colour_));

  if (!text().isEmpty()) {
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    if (isEnabled()) {
      p.setPen(textColour_ == kDefaultColour ? QColor(Qt::black) : ToQColor(textColour_));
      p.drawText(swatch, flags, text());
    } else {
      p.setPen(pal.color(QPalette::Light));
      p.drawText(swatch.translated(1, 1), flags, text());
      p.setPen(pal.color(QPalette::Dark));
      p.drawText(swatch, flags, text());
    }
  }

  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = swatch.adjusted(2, 2, -2, -2);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
  }
}

void DDX_ColourPicker(bool saving, CColourPicker& picker, ColourRef& value) {
  if (saving) value = picker.GetColour();
  else picker.SetColour(value);
}

}  // namespace orx
