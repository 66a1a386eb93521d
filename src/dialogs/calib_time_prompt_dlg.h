#pragma once

#include "controls/skinned_dialog.h"
#include "settings/language.h"

namespace vantorel {

class MyBitmapButton;

// The question after a failed calibration run: go on with the computer's own clock?
// OK accepts; Cancel, the close button and Escape reject.
class CalibTimePromptDlg : public SkinnedDialog {
 public:
  explicit CalibTimePromptDlg(Language language, QWidget* parent = nullptr);

  void SetLanguage(Language language);
  MyBitmapButton* OkButton() const { return m_ok; }
  MyBitmapButton* CancelButton() const { return m_cancel; }
  MyBitmapButton* CloseButton() const { return m_close; }

 private:
  MyBitmapButton* m_ok;
  MyBitmapButton* m_cancel;
  MyBitmapButton* m_close;
};

}  // namespace vantorel
