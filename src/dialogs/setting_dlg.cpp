#include "dialogs/setting_dlg.h"

#include <QPainter>

#include "controls/skin_image.h"
#include "controls/my_bitmap_button.h"
#include "controls/my_bitmap_tab_ctrl.h"
#include "dialogs/setting_pages.h"
#include "res/resource_ids.h"
#include "res/skin_words.h"

namespace vantorel {
namespace {
constexpr int kCorner = 16;
constexpr int kWidth = 440;
constexpr int kHeight = 277;
const QPoint kPageAt(0, 32 + 33);  // 33 below the tab strip's top
}  // namespace

SettingDlg::SettingDlg(std::filesystem::path settingsFile, QWidget* owner,
                       const platform::HostZone& host)
    : SkinnedDialog(owner, Qt::Dialog, kCorner),
      m_file(std::move(settingsFile)),
      m_tabs(new MyBitmapTabCtrl(this)),
      m_restore(new MyBitmapButton(1033, this)),
      m_ok(new MyBitmapButton(1, this)),
      m_cancel(new MyBitmapButton(2, this)),
      m_close(new MyBitmapButton(1030, this)),
      m_languagePage(new SettingLanguage(this)),
      m_serverPage(new SettingNTPServer(this)),
      m_zonePage(new SettingTimezone(this, host)) {
  setWindowTitle(QStringLiteral("Setting"));
  resize(kWidth, kHeight);
  if (owner != nullptr) {
    const QRect o = owner->frameGeometry();
    move(o.left() + (o.width() - kWidth) / 2, o.top() + (o.height() - kHeight) / 2);
  }
  LoadSettings(&m_settings, m_file);
  m_close->SetBitmap(res::kCloseButton, kRedKey, false, true);
  m_close->move(405, 5);
  m_ok->move(210, 231);
  m_cancel->move(317, 231);
  m_restore->move(50, 230);
  m_tabs->move(0, 32);
  for (QWidget* page : {static_cast<QWidget*>(m_languagePage), static_cast<QWidget*>(m_serverPage),
                        static_cast<QWidget*>(m_zonePage)}) {
    page->move(kPageAt);
  }
  m_languagePage->SetSettings(&m_settings.nSelLanguageIndex);
  m_zonePage->SetSettings(&m_settings);
  m_serverPage->SetSettings(&m_settings);
  m_languagePage->OnLanguageChosen([this](Language language) { OnSettingLanguage(language); });
  Words().Name(m_close, res::words::kClose);
  Words().Name(m_ok, res::words::kOk);
  Words().Name(m_cancel, res::words::kCancel);
  Words().Name(m_restore, res::words::kRestore);
  SetLanguage(LanguageOf(m_settings.nSelLanguageIndex));
  SelectTab(kZoneTab);
  TabInReadingOrder(this);

  connect(m_tabs, &MyBitmapTabCtrl::selectionChanged, this, &SettingDlg::SelectTab);
  connect(m_ok, &MyBitmapButton::clicked, this, &SettingDlg::OnOk);
  SetEnterAction([this] { OnOk(); });
  connect(m_cancel, &MyBitmapButton::clicked, this, &QDialog::reject);
  connect(m_close, &MyBitmapButton::clicked, this, &QDialog::reject);
  connect(m_restore, &MyBitmapButton::clicked, m_serverPage, &SettingNTPServer::RestoreDefault);
}

void SettingDlg::SetLanguage(Language language) {
  LoadBackground(InLanguage(language, res::kSettingsEn, res::kSettingsZh));
  m_ok->SetBitmap(InLanguage(language, res::kSettingsOkEn, res::kSettingsOkZh), kRedKey, false,
                  true);
  m_cancel->SetBitmap(InLanguage(language, res::kSettingsCancelEn, res::kSettingsCancelZh), kRedKey,
                      false, true);
  m_restore->SetBitmap(InLanguage(language, res::kRestoreEn, res::kRestoreZh), kRedKey, false,
                       m_tabs->GetCurSel() == kServerTab);
  m_tabs->SetBitmap(InLanguage(language, res::kTabStripEn, res::kTabStripZh), kRedKey);
  QStringList tabNames;
  for (const res::Words& name : res::words::kTabs) tabNames << SpokenText(name, language);
  m_tabs->SetTabNames(tabNames);
  Words().Show(language);
  m_languagePage->SetLanguage(language);
  m_serverPage->SetLanguage(language);
  m_zonePage->SetLanguage(language);
  setWindowTitle(InLanguage(language, "Setting", "设置"));
  update();
}

void SettingDlg::SelectTab(int tab) {
  if (tab < kZoneTab || tab > kLanguageTab) return;
  m_tabs->SetCurSel(tab);
  m_zonePage->setVisible(tab == kZoneTab);
  m_serverPage->setVisible(tab == kServerTab);
  m_languagePage->setVisible(tab == kLanguageTab);
  m_restore->setVisible(tab == kServerTab);
}

void SettingDlg::OnSettingLanguage(Language language) {
  m_settings.nSelLanguageIndex = IndexOf(language);
}

void SettingDlg::OnOk() {
  m_zonePage->StoreSettings();
  m_serverPage->StoreSettings(m_file);
  SetLanguage(LanguageOf(m_settings.nSelLanguageIndex));
  SaveSettings(&m_settings, m_serverPage->Restored(), m_file);
  accept();
}

void SettingDlg::paintEvent(QPaintEvent* event) {
  if (Background().isNull()) return;
  SkinnedDialog::paintEvent(event);
  QPainter painter(this);
  // The title band: from 100 px in English, 70 in Chinese.
  QRect band =
      rect().adjusted(InLanguage(LanguageOf(m_settings.nSelLanguageIndex), 100, 70), 5, -5, -5);
  band.setBottom(band.top() + 25);
  painter.setPen(QColor(200, 200, 200));
  painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, windowTitle());
}

}  // namespace vantorel
