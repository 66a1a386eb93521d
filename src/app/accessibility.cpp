#include "app/accessibility.h"

#include <QAccessible>

#include "clocks/signal_area.h"
#include "controls/my_bitmap_button.h"
#include "controls/my_bitmap_progress.h"
#include "controls/my_bitmap_tab_ctrl.h"
#include "controls/readable_text.h"

namespace vantorel {
namespace {

template <typename Control>
QAccessibleInterface* As(QObject* object) {
  auto* control = dynamic_cast<Control*>(object);
  return control != nullptr ? MakeAccessible(control) : nullptr;
}

// Asked first for an object's own class; the progress bar has no meta-object of its own, so
// each object is recognised by what it is, not by its class name.
QAccessibleInterface* SkinnedControls(const QString&, QObject* object) {
  if (auto* button = As<MyBitmapButton>(object)) return button;
  if (auto* tabs = As<MyBitmapTabCtrl>(object)) return tabs;
  if (auto* progress = As<MyBitmapProgress>(object)) return progress;
  if (auto* area = As<SignalArea>(object)) return area;
  if (auto* text = As<ReadableText>(object)) return text;
  return nullptr;
}

}  // namespace

void InstallAccessibility() {
  QAccessible::installFactory(SkinnedControls);
}

}  // namespace vantorel
