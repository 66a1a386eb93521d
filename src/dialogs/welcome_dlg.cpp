#include "dialogs/welcome_dlg.h"

#include "controls/skin_image.h"
#include "controls/my_bitmap_button.h"
#include "controls/my_bitmap_combobox.h"
#include "controls/screen_fit.h"
#include "res/resource_ids.h"
#include "res/skin_words.h"
#include "timezone/time_zone_table.h"
#include "dialogs/zone_combo_list.h"
#include "timezone/zone_time.h"

namespace vantorel {
namespace {
constexpr int kCorner = 10;
}  // namespace

WelcomeDlg::WelcomeDlg(SettingsRecord* settings, QWidget* parent, const platform::HostZone& host)
    : SkinnedDialog(parent, Qt::Dialog, kCorner),
      m_settings(settings),
      m_host(host),
      m_dst(new MyBitmapButton(1039, this)),
      m_showAgain(new MyBitmapButton(1041, this)),
      m_close(new MyBitmapButton(1030, this)),
      m_ok(new MyBitmapButton(1, this)),
      m_cancel(new MyBitmapButton(2, this)),
      m_languages(new MyBitmapCombobox(this)),
      m_zones(new MyBitmapCombobox(this)) {
  setWindowTitle(QStringLiteral("Welcome Screen"));
  resize(440, 277);
  bool dst = false;
  if (settings != nullptr) {
    dst = settings->bDST != 0;
    m_language = LanguageOf(settings->nSelLanguageIndex);
    // A stored row outside the table counts as none: matched to the host's zone below.
    m_timeZone = settings->bTimeZoneUnset != 0 || !IsValidZoneIndex(settings->nSelTimeZoneIndex)
                     ? -1
                     : settings->nSelTimeZoneIndex;
  }
  m_dst->SetBitmap(res::kCheckBox, kRedKey, true, true);
  m_showAgain->SetBitmap(res::kCheckBox, kRedKey, true, true);
  m_close->SetBitmap(res::kCloseButton, kRedKey, false, true);
  m_dst->SetCheck(dst ? 1 : 0);
  m_showAgain->SetCheck(0);
  for (MyBitmapCombobox* combo : {m_zones, m_languages}) {
    combo->SetTextColors(QColor(240, 240, 240), QColor(128, 128, 128));
    combo->SetTextMargins(20, 0, 30, 0);
    combo->resize(combo->width(), 34);
  }
  m_zones->LoadSkin(res::kComboWelcomeZone, kRedKey);
  m_languages->LoadSkin(res::kComboWelcomeLanguage, kRedKey);
  m_dst->move(339, 135);
  m_showAgain->move(30, 231);
  m_close->move(405, 5);
  m_ok->move(242, 224);
  m_cancel->move(329, 224);
  m_languages->move(122, 65);
  m_zones->move(122, 124);
  m_languages->addItem(QStringLiteral("English"));
  m_languages->addItem(QStringLiteral("简体中文"));
  m_languages->setCurrentIndex(IndexOf(m_language));
  namespace words = res::words;
  Words().Name(this, words::kWelcomeTitle);
  Words().Text(this, words::kLanguage, words::kWelcomeLanguageBox)->setBuddy(m_languages);
  Words().Text(this, words::kTimeZone, words::kWelcomeZoneBox)->setBuddy(m_zones);
  Words().Text(this, words::kDst, words::kWelcomeDstBox)->setBuddy(m_dst);
  Words().Text(this, words::kDontShowAgain, words::kDontShowAgainBox)->setBuddy(m_showAgain);
  Words().Name(m_dst, words::kDst);
  Words().Name(m_showAgain, words::kDontShowAgain);
  Words().Name(m_close, words::kClose);
  Words().Name(m_ok, words::kOk);
  Words().Name(m_cancel, words::kCancel);
  SetLanguage();
  TabInReadingOrder(this);
  // Placed before its native window exists, which is then made where it shows: a window the
  // dialog's own centring moves once it is made keeps, under some window managers, the
  // position it was made at as its idea of where it is, and tells a screen reader so.
  if (parent == nullptr) CenterOnScreen(this);

  for (MyBitmapButton* box : {m_dst, m_showAgain}) {
    connect(box, &MyBitmapButton::clicked, this,
            [box] { box->SetCheck(box->GetCheck() == 0 ? 1 : 0); });
  }
  connect(m_languages, &MyBitmapCombobox::selectionChanged, this, [this] { SetLanguage(); });
  connect(m_ok, &MyBitmapButton::clicked, this, &WelcomeDlg::OnOk);
  SetEnterAction([this] { OnOk(); });
  connect(m_cancel, &MyBitmapButton::clicked, this, &QDialog::reject);
  connect(m_close, &MyBitmapButton::clicked, this, &QDialog::reject);
}

void WelcomeDlg::SetLanguage() {
  const Language chosen = LanguageOfRow(m_languages->currentIndex());
  if (m_skinned && chosen == m_language) return;
  m_skinned = true;
  m_language = chosen;
  FillZoneCombo(*m_zones, m_language, &m_timeZone, m_host);
  LoadBackground(InLanguage(m_language, res::kWelcomeEn, res::kWelcomeZh));
  m_ok->SetBitmap(InLanguage(m_language, res::kWelcomeOkEn, res::kWelcomeOkZh), kRedKey, false,
                  true);
  m_cancel->SetBitmap(InLanguage(m_language, res::kWelcomeCancelEn, res::kWelcomeCancelZh), kRedKey,
                      false, true);
  Words().Show(m_language);
  update();
}

void WelcomeDlg::OnOk() {
  if (m_settings != nullptr) {
    m_settings->bDST = m_dst->GetCheck() != 0 ? 1 : 0;
    m_settings->bWelcomeScreen = m_showAgain->GetCheck() != 0 ? 0 : 1;
    m_settings->nSelLanguageIndex = IndexOf(m_language);
    m_settings->nSelTimeZoneIndex = m_zones->currentIndex();
  }
  accept();
}

}  // namespace vantorel
