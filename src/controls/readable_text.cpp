#include "controls/readable_text.h"

#include <QAccessible>
#include <QList>

#include <algorithm>

namespace vantorel {

QString SpokenText(const res::Words& words, Language language) {
  return QString::fromStdString(res::Spoken(words.In(IndexOf(language))));
}

ReadableText::ReadableText(QWidget* parent, const QRect& place) : QLabel(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  setWordWrap(true);
  if (!place.isNull()) setGeometry(place);
}

void ReadableText::SetText(const QString& text) {
  if (text != this->text()) setText(text);
}

void ReadableText::Announce(const QString& text) {
  if (text == this->text()) return;
  setText(text);
  QAccessibleEvent changed(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&changed);
}

void ReadableText::paintEvent(QPaintEvent*) {}

void TabInReadingOrder(QWidget* window) {
  QList<QWidget*> controls;
  for (QWidget* child : window->findChildren<QWidget*>()) {
    if (child->focusPolicy() & Qt::TabFocus && child->window() == window) controls.append(child);
  }
  auto top = [window](const QWidget* w) { return w->mapTo(window, QPoint(0, 0)); };
  // A control starts a new row when it lies wholly below the row's first one.
  std::stable_sort(controls.begin(), controls.end(),
                   [&](QWidget* a, QWidget* b) { return top(a).y() < top(b).y(); });
  QList<QList<QWidget*>> rows;
  for (QWidget* control : controls) {
    if (rows.isEmpty() ||
        top(control).y() >= top(rows.last().first()).y() + rows.last().first()->height()) {
      rows.append({});
    }
    rows.last().append(control);
  }
  QWidget* previous = nullptr;
  for (QList<QWidget*>& row : rows) {
    std::stable_sort(row.begin(), row.end(),
                     [&](QWidget* a, QWidget* b) { return top(a).x() < top(b).x(); });
    for (QWidget* control : row) {
      if (previous) QWidget::setTabOrder(previous, control);
      previous = control;
    }
  }
}

}  // namespace vantorel
