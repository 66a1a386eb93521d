#include "dialogs/calib_time_prompt_dlg.h"

#include "controls/skin_image.h"
#include "controls/my_bitmap_button.h"
#include "res/resource_ids.h"
#include "res/skin_words.h"

namespace vantorel {
namespace {
constexpr int kCorner = 16;
constexpr int kWidth = 440;
constexpr int kHeight = 277;
}  // namespace

CalibTimePromptDlg::CalibTimePromptDlg(Language language, QWidget* parent)
    : SkinnedDialog(parent, Qt::Dialog, kCorner),
      m_ok(new MyBitmapButton(1, this)),
      m_cancel(new MyBitmapButton(2, this)),
      m_close(new MyBitmapButton(1030, this)) {
  resize(kWidth, kHeight);
  // Centred on the window that asks, wherever it has been moved, not on the screen.
  if (parent != nullptr) {
    const QRect owner = parent->geometry();
    move(owner.x() + (owner.width() - kWidth) / 2, owner.y() + (owner.height() - kHeight) / 2);
  }
  namespace words = res::words;
  Words().Text(this, words::kPromptQuestion, words::BodyBox(kWidth, kHeight));
  Words().Name(m_ok, words::kOk);
  Words().Name(m_cancel, words::kCancel);
  Words().Name(m_close, words::kClose);
  SetLanguage(language);
  m_close->SetBitmap(res::kCloseButton, kRedKey, false, true);
  m_close->move(405, 5);
  m_ok->move(242, 224);
  m_cancel->move(329, 224);
  TabInReadingOrder(this);
  connect(m_ok, &MyBitmapButton::clicked, this, &QDialog::accept);
  SetEnterAction([this] { accept(); });
  connect(m_cancel, &MyBitmapButton::clicked, this, &QDialog::reject);
  connect(m_close, &MyBitmapButton::clicked, this, &QDialog::reject);
}

void CalibTimePromptDlg::SetLanguage(Language language) {
  // Not shown (the window has no caption) but named for the window list and accessibility.
  setWindowTitle(SpokenText(res::words::kPromptTitle, language));
  LoadBackground(InLanguage(language, res::kPromptEn, res::kPromptZh));
  m_ok->SetBitmap(InLanguage(language, res::kWelcomeOkEn, res::kWelcomeOkZh), kRedKey, false, true);
  m_cancel->SetBitmap(InLanguage(language, res::kWelcomeCancelEn, res::kWelcomeCancelZh), kRedKey,
                      false, true);
  Words().Show(language);
  update();
}

}  // namespace vantorel
