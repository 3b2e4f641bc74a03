// A static text that works as a web link: drawn blue and underlined in its
// parent's font, a hand cursor over the text itself, and a click on the text
// opens the address in the default browser. Only the text counts, not the
// rest of the control's rectangle.
//
// The underlined font is made on the first paint, and the text is measured
// only once that font exists: a link never painted is never hit.
#pragma once

#include <QFont>
#include <QLabel>
#include <QSize>
#include <functional>

namespace orx {

class CHyperlinkStatic : public QLabel {
  Q_OBJECT
 public:
  // How a link is opened; returns false when it could not be. Tests replace it.
  using Opener = std::function<bool(const QString& address)>;
  static Opener systemOpener();

  explicit CHyperlinkStatic(const QString& text = {}, QWidget* parent = nullptr);

  void SetLink(const QString& address) { link_ = address; }
  void SetText(const QString& text);
  QString link() const { return link_; }
  QString displayText() const { return display_; }
  void setOpener(Opener opener) { opener_ = std::move(opener); }

  bool fontCreated() const { return fontCreated_; }
  bool mouseTracked() const { return tracked_; }
  // True when `point` (control coordinates) lies on the measured text.
  bool hitTest(const QPoint& point);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void measure();

  QString display_;
  QString link_;
  QFont underlined_;
  QSize textSize_;
  bool fontCreated_ = false;
  bool tracked_ = false;
  bool measured_ = false;
  Opener opener_ = systemOpener();
};

}  // namespace orx
