// The window's client area: white, with the progress text of a running cmap
// conversion drawn centred, line by line, as the conversion reports it. The
// text is always shown whole: a text that does not fit raises the view's
// minimum size, which grows the window.
#pragma once

#include <QString>
#include <QWidget>

namespace drumlin {

class ProgressView : public QWidget {
 public:
  explicit ProgressView(QWidget* parent = nullptr);

  // Replaces the text ("\n" between lines) and repaints.
  void SetText(const QString& text);
  // Leaves the area white.
  void Clear();
  const QString& text() const { return text_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  static constexpr int kMargin = 4;  // pixels around the text
  QString text_;
};

}  // namespace drumlin
