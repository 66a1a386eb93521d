#include "controls/readable_text.h"

#include <QAccessibleWidget>
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

void ReadableText::Announce(const QString& text) {
  if (text == m_text) return;
  m_text = text;
  QAccessibleEvent changed(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&changed);
}

namespace {

// Not the label's own interface: that one tells a screen reader of every change of the
// label's text, and a time changes every second.
class AccessibleReadableText : public QAccessibleWidget {
 public:
  explicit AccessibleReadableText(ReadableText* text)
      : QAccessibleWidget(text, QAccessible::StaticText) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return static_cast<ReadableText*>(widget())->Text();
    return QAccessibleWidget::text(t);
  }
};

}  // namespace

QAccessibleInterface* MakeAccessible(ReadableText* text) {
  return new AccessibleReadableText(text);
}

ReadableText* WindowWords::Text(QWidget* parent, const res::Words& words, const res::Box& box) {
  auto* text = new ReadableText(parent, QRect(box.x, box.y, box.width, box.height));
  m_entries.push_back({text, &words, Kind::kText});
  return text;
}

void WindowWords::Name(QWidget* control, const res::Words& words) {
  m_entries.push_back({control, &words, Kind::kName});
}

void WindowWords::Describe(QWidget* control, const res::Words& words) {
  m_entries.push_back({control, &words, Kind::kDescription});
}

void WindowWords::Show(Language language) {
  for (const Entry& entry : m_entries) {
    const QString spoken = SpokenText(*entry.words, language);
    switch (entry.kind) {
      case Kind::kText:
        static_cast<ReadableText*>(entry.widget)->SetText(spoken);
        break;
      // Each setting tells a screen reader of a change, so only a change is set.
      case Kind::kName:
        if (entry.widget->accessibleName() != spoken) entry.widget->setAccessibleName(spoken);
        break;
      case Kind::kDescription:
        if (entry.widget->accessibleDescription() != spoken)
          entry.widget->setAccessibleDescription(spoken);
        break;
    }
  }
}

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
      rows.append(QList<QWidget*>());
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
