#pragma once

#include <QDialog>
#include <QImage>

namespace vantorel {

class MyBitmapButton;
class MyHyperLink;

// The help window: one large picture per language and a close button, beside the main
// window.
class HelpDlg : public QDialog {
 public:
  static constexpr int kLinkId = 1044;
  static constexpr int kCloseId = 1043;
  static const char* const kMakerUrl;

  explicit HelpDlg(int language, QWidget* parent = nullptr);

  void SetLanguage(int language);
  int Language() const { return m_language; }
  bool Shown() const { return m_shown; }
  void SetShown(bool shown) { m_shown = shown; }
  int RegionCuts() const { return m_regionCuts; }
  const QImage& Picture() const { return m_picture; }
  MyHyperLink* Link() const { return m_link; }
  MyBitmapButton* CloseButton() const { return m_close; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  MyHyperLink* m_link;
  MyBitmapButton* m_close;
  QImage m_picture;
  int m_regionCuts = 0;
  bool m_shown = false;
  int m_language = 0;
};

}  // namespace vantorel
