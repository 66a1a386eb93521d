#include "dialogs/calib_time_prompt_dlg.h"

#include <QPainter>

#include "controls/my_bitmap_button.h"
#include "controls/skin_image.h"
#include "controls/window_drag.h"
#include "res/resource_ids.h"
#include "res/skins.h"

namespace vantorel {
namespace {
constexpr int kChinese = 1;
constexpr int kCorner = 16;
const QRgb kRed = qRgb(255, 0, 0);
}  // namespace

CalibTimePromptDlg::CalibTimePromptDlg(int language, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      m_ok(new MyBitmapButton(1, this)),
      m_cancel(new MyBitmapButton(2, this)),
      m_close(new MyBitmapButton(1030, this)) {
  resize(440, 277);
  new WindowDrag(this);
  SetLanguage(language);
  m_close->SetBitmap(res::kCloseButton, kRed, false, true);
  m_close->move(405, 5);
  m_ok->move(242, 224);
  m_cancel->move(329, 224);
  connect(m_ok, &MyBitmapButton::clicked, this, &QDialog::accept);
  connect(m_cancel, &MyBitmapButton::clicked, this, &QDialog::reject);
  connect(m_close, &MyBitmapButton::clicked, this, &QDialog::reject);
}

void CalibTimePromptDlg::SetLanguage(int language) {
  const bool chinese = language == kChinese;
  // Not shown (the window has no caption) but named for the window list and accessibility.
  setWindowTitle(chinese ? QStringLiteral("警示") : QStringLiteral("Prompt"));
  LoadBackground(chinese ? res::kPromptZh : res::kPromptEn);
  m_ok->SetBitmap(chinese ? res::kWelcomeOkZh : res::kWelcomeOkEn, kRed, false, true);
  m_cancel->SetBitmap(chinese ? res::kWelcomeCancelZh : res::kWelcomeCancelEn, kRed, false, true);
  update();
}

void CalibTimePromptDlg::LoadBackground(int id) {
  QImage picture = LoadSkin(id);
  if (picture.isNull()) return;
  m_background = std::move(picture);
  if (m_shaped) return;
  CutRoundedShape(this, m_background.size(), kCorner);
  m_shaped = true;
}

void CalibTimePromptDlg::paintEvent(QPaintEvent*) {
  if (m_background.isNull()) return;
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), m_background);
}

}  // namespace vantorel
