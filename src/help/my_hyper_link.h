#pragma once

#include <QColor>
#include <QLabel>
#include <QTimer>
#include <QUrl>

#include <functional>

namespace vantorel {

// A text that is a web link: link colour, underlined while the mouse is over it, a hand
// cursor, the URL as its tooltip; a click opens the URL in the user's browser.
class MyHyperLink : public QLabel {
  Q_OBJECT

 public:
  using Opener = std::function<bool(const QUrl&)>;
  static constexpr int kHoverWatchMs = 100;

  explicit MyHyperLink(int controlId, QWidget* parent = nullptr);

  void SetLinkUrl(const QString& url);
  QString LinkUrl() const { return m_url; }
  void SetLinkColors(QColor link, QColor visited, QColor hover);
  void SetBackColor(QColor colour);
  void MarkVisited(bool visited);
  // -1 underline only while hovering, 0 never, 1 always.
  void SetUnderlineMode(int mode);
  void SetLinkText(const QString& text);
  void SetOpenOnClick(bool open) { m_openOnClick = open; }
  void SetNotifyParent(bool notify) { m_notifyParent = notify; }
  // How URLs are opened; the desktop's browser unless a test says otherwise.
  void SetOpener(Opener opener) { m_opener = std::move(opener); }

  bool Hovering() const { return m_hovering; }
  bool Visited() const { return m_visited; }
  bool Underlined() const { return font().underline(); }
  bool HoverWatchActive() const { return m_watch.isActive(); }
  QColor TextColour() const;
  // A click, as the mouse gives it.
  void Click();

 signals:
  void linkClicked(int controlId);

 protected:
  void enterEvent(QEnterEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void StartHover();
  void WatchHover();
  void ApplyLook();

  int m_controlId;
  QColor m_link{0, 0, 0};
  QColor m_visitedColour{0, 104, 183};
  QColor m_hover{230, 0, 17};
  bool m_hovering = false;
  bool m_visited = false;
  int m_underline = -1;
  bool m_openOnClick = true;
  bool m_notifyParent = false;
  QString m_url;
  QTimer m_watch;
  Opener m_opener;
};

}  // namespace vantorel
