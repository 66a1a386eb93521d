#include "dialogs/calib_time_prompt_dlg.h"

#include "controls/skin_image.h"
#include "controls/my_bitmap_button.h"
#include "res/resource_ids.h"

namespace vantorel {
namespace {
constexpr int kChinese = 1;
constexpr int kCorner = 16;
constexpr int kWidth = 440;
constexpr int kHeight = 277;
}  // namespace

CalibTimePromptDlg::CalibTimePromptDlg(int language, QWidget* parent)
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
  SetLanguage(language);
  m_close->SetBitmap(res::kCloseButton, kRedKey, false, true);
  m_close->move(405, 5);
  m_ok->move(242, 224);
  m_cancel->move(329, 224);
  connect(m_ok, &MyBitmapButton::clicked, this, &QDialog::accept);
  SetEnterAction([this] { accept(); });
  connect(m_cancel, &MyBitmapButton::clicked, this, &QDialog::reject);
  connect(m_close, &MyBitmapButton::clicked, this, &QDialog::reject);
}

void CalibTimePromptDlg::SetLanguage(int language) {
  const bool chinese = language == kChinese;
  // Not shown (the window has no caption) but named for the window list and accessibility.
  setWindowTitle(chinese ? QStringLiteral("警示") : QStringLiteral("Prompt"));
  LoadBackground(chinese ? res::kPromptZh : res::kPromptEn);
  m_ok->SetBitmap(chinese ? res::kWelcomeOkZh : res::kWelcomeOkEn, kRedKey, false, true);
  m_cancel->SetBitmap(chinese ? res::kWelcomeCancelZh : res::kWelcomeCancelEn, kRedKey, false,
                      true);
  update();
}

}  // namespace vantorel
