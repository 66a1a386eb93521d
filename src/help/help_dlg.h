#pragma once

#include <QList>
#include <QPair>

#include "controls/skinned_dialog.h"
#include "settings/language.h"

namespace vantorel {

class MyBitmapButton;
class MyHyperLink;

// The help window: one large picture per language and a close button, beside the main
// window.
class HelpDlg : public SkinnedDialog {
 public:
  static constexpr int kLinkId = 1044;
  static constexpr int kCloseId = 1043;
  static const char* const kMakerUrl;

  explicit HelpDlg(Language language, QWidget* parent = nullptr);

  void SetLanguage(Language language);
  Language ShownLanguage() const { return m_language; }
  bool Shown() const { return m_shown; }
  void SetShown(bool shown) { m_shown = shown; }
  MyHyperLink* Link() const { return m_link; }
  MyBitmapButton* CloseButton() const { return m_close; }

 private:
  void PlaceSections();

  QList<QPair<ReadableText*, ReadableText*>> m_sections;
  MyHyperLink* m_link;
  MyBitmapButton* m_close;
  bool m_shown = false;
  Language m_language = Language::kEnglish;
};

}  // namespace vantorel
