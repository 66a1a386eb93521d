#pragma once

#include <QLabel>
#include <QString>

#include <vector>

#include "res/skin_words.h"
#include "settings/language.h"

class QAccessibleInterface;

namespace vantorel {

// The spoken form of drawn words in a window's language.
QString SpokenText(const res::Words& words, Language language);

// Words the skin draws, or the window paints, laid over them for a screen reader: it shows
// nothing itself (its label text stays empty) and takes no clicks, so the picture under it is
// what the eye sees, and its place is the drawn words' place. A label given a buddy control
// names that control.
class ReadableText : public QLabel {
 public:
  explicit ReadableText(QWidget* parent, const QRect& place = {});

  // Quietly: a screen reader reads it when it looks, as for a ticking time.
  void SetText(const QString& text) { m_text = text; }
  // And a screen reader is told at once: for a state.
  void Announce(const QString& text);
  const QString& Text() const { return m_text; }

 private:
  QString m_text;
};

// Static text whose name is its words.
QAccessibleInterface* MakeAccessible(ReadableText* text);

// A window's words for a screen reader: its readable texts and its controls' names and
// descriptions, each given again in the window's language when that changes.
class WindowWords {
 public:
  // A readable text of the words drawn in that box of the window's picture.
  ReadableText* Text(QWidget* parent, const res::Words& words, const res::Box& box);
  void Name(QWidget* control, const res::Words& words);
  void Describe(QWidget* control, const res::Words& words);
  void Show(Language language);

 private:
  enum class Kind { kText, kName, kDescription };
  struct Entry {
    QWidget* widget;
    const res::Words* words;
    Kind kind;
  };
  std::vector<Entry> m_entries;
};

// Every focusable control of a window, tabbed through as it is read: row by row from the
// top, each row from the left.
void TabInReadingOrder(QWidget* window);

}  // namespace vantorel
