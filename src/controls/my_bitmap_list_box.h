#pragma once

#include <QImage>
#include <QListWidget>

namespace vantorel {

// A list whose background and selection bar are pictures, with light-grey item texts.
class MyBitmapListBox : public QListWidget {
 public:
  static constexpr int kItemHeight = 16;

  explicit MyBitmapListBox(QWidget* parent = nullptr);

  // The background sizes the list the first time it loads; a picture that cannot be loaded
  // leaves the previous one.
  void SetBitmaps(int backgroundId, int selectionId);
  const QImage& Background() const { return m_background; }
  const QImage& Selection() const { return m_selection; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage m_background;
  QImage m_selection;
  bool m_sized = false;
};

}  // namespace vantorel
