#include "dialogs/setting_pages.h"

#include <QKeyEvent>

#include "controls/skin_image.h"
#include "controls/my_bitmap_button.h"
#include "controls/my_bitmap_combobox.h"
#include "controls/my_bitmap_list_box.h"
#include "controls/my_message_box.h"
#include "controls/skinned_dialog.h"
#include "dialogs/add_server_dlg.h"
#include "res/resource_ids.h"
#include "res/skin_words.h"
#include "dialogs/zone_combo_list.h"
#include "timezone/zone_time.h"

namespace vantorel {
namespace {
const QRgb kBlack = qRgb(0, 0, 0);
const QColor kComboText(240, 240, 240);
const QColor kComboDisabled(128, 128, 128);

void SetUpCombo(MyBitmapCombobox* combo, int skin, QRgb key) {
  combo->SetTextColors(kComboText, kComboDisabled);
  combo->SetTextMargins(20, 0, 30, 0);
  combo->resize(combo->width(), 32);
  combo->LoadSkin(skin, key);
}
}  // namespace

SettingNTPServer::SettingNTPServer(QWidget* parent)
    : SkinnedPage(parent),
      m_list(new MyBitmapListBox(this)),
      m_add(new MyBitmapButton(1035, this)),
      m_edit(new MyBitmapButton(1036, this)),
      m_delete(new MyBitmapButton(1037, this)) {
  LoadBackground(res::kServerPage);
  m_list->SetBitmaps(res::kServerList, res::kServerListSelection);
  m_list->move(38, 16);
  m_add->move(243, 35);
  m_edit->move(243, 78);
  m_delete->move(243, 123);
  Words().Name(m_list, res::words::kServerList);
  Words().Name(m_add, res::words::kAdd);
  Words().Name(m_edit, res::words::kEdit);
  Words().Name(m_delete, res::words::kDelete);
  SetLanguage(Language::kEnglish);
  m_prompt = [this](bool edit, const std::string& name,
                    Language language) -> std::optional<std::string> {
    AddServerDlg dialog(edit, name, language, this);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Name();
  };
  m_confirm = [this](Language language) {
    MyMessageBox box(this);
    return box.Show(InLanguage(language, "Are you sure you want to delete?",
                               "确定要删除列表中所选中的NTP服务器地址吗?"),
                    InLanguage(language, "Confirm detele", "删除确认"), MyMessageBox::kTypeYesNo,
                    language) == MyMessageBox::kIdOk;
  };
  connect(m_add, &MyBitmapButton::clicked, this, &SettingNTPServer::OnAdd);
  connect(m_edit, &MyBitmapButton::clicked, this, &SettingNTPServer::OnEdit);
  connect(m_delete, &MyBitmapButton::clicked, this, &SettingNTPServer::OnDelete);
  connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) { m_editor.Select(row); });
}

void SettingNTPServer::SetLanguage(Language language) {
  m_add->SetBitmap(InLanguage(language, res::kAddButtonEn, res::kAddButtonZh), kBlack, false, true);
  m_edit->SetBitmap(InLanguage(language, res::kEditButtonEn, res::kEditButtonZh), kBlack, false,
                    true);
  m_delete->SetBitmap(InLanguage(language, res::kDeleteButtonEn, res::kDeleteButtonZh), kBlack,
                      false, true);
  Words().Show(language);
}

void SettingNTPServer::Show() {
  const QSignalBlocker quiet(m_list);
  m_list->clear();
  for (const std::string& name : m_editor.Items()) m_list->addItem(QString::fromStdString(name));
  m_list->setCurrentRow(m_editor.Selection());
}

void SettingNTPServer::SetSettings(SettingsRecord* record) {
  m_record = record;
  m_editor.SetSettings(record);
  Show();
}

void SettingNTPServer::OnAdd() {
  if (m_record == nullptr) return;
  if (const auto name = m_prompt(false, std::string(), RecordLanguage())) {
    m_editor.Add(*name);
    Show();
  }
}

void SettingNTPServer::OnEdit() {
  if (m_record == nullptr || m_editor.Selection() < 0) return;
  const std::string current = m_editor.Items()[static_cast<size_t>(m_editor.Selection())];
  if (const auto name = m_prompt(true, current, RecordLanguage())) {
    m_editor.Edit(*name);
    Show();
  }
}

void SettingNTPServer::OnDelete() {
  m_editor.Delete(m_confirm(RecordLanguage()));
  Show();
}

void SettingNTPServer::RestoreDefault() {
  m_editor.RestoreDefault();
  Show();
}

void SettingNTPServer::StoreSettings(const std::filesystem::path& file) {
  m_editor.StoreSettings(
      [&](const SettingsRecord& record, bool changed) { SaveSettings(&record, changed, file); });
}

SettingTimezone::SettingTimezone(QWidget* parent, const platform::HostZone& host)
    : SkinnedPage(parent),
      m_host(host),
      m_zones(new MyBitmapCombobox(this)),
      m_dst(new MyBitmapButton(1039, this)) {
  m_dst->SetBitmap(res::kCheckBox, kRedKey, true, true);
  SetUpCombo(m_zones, res::kComboZonePage, qRgb(255, 69, 0));
  m_dst->move(345, 42);
  m_zones->move(118, 35);
  namespace words = res::words;
  Words().Text(this, words::kTimezonePage, words::kZonePageLabelBox)->setBuddy(m_zones);
  Words().Text(this, words::kDst, words::kZonePageDstBox)->setBuddy(m_dst);
  Words().Text(this, words::kZoneNote, words::kZoneNoteBox);
  Words().Name(m_dst, words::kDst);
  connect(m_dst, &MyBitmapButton::clicked, this,
          [this] { m_dst->SetCheck(m_dst->GetCheck() == 0 ? 1 : 0); });
}

void SettingTimezone::SetSettings(SettingsRecord* record) {
  m_record = record;
  if (record == nullptr) return;
  m_selected = record->nSelTimeZoneIndex;
  m_dst->SetCheck(record->bDST != 0 ? 1 : 0);
}

void SettingTimezone::SetLanguage(Language language) {
  LoadBackground(InLanguage(language, res::kZonePageEn, res::kZonePageZh));
  FillZoneCombo(*m_zones, language, &m_selected, m_host);
  Words().Show(language);
  update();
}

void SettingTimezone::StoreSettings() {
  if (m_record == nullptr) return;
  // As a 16-bit value: no selection (-1) is stored as 65535, which reads back as no zone.
  m_record->nSelTimeZoneIndex = static_cast<uint16_t>(m_zones->currentIndex());
  m_record->bDST = static_cast<uint16_t>(m_dst->GetCheck());
}

SettingLanguage::SettingLanguage(QWidget* parent)
    : SkinnedPage(parent), m_languages(new MyBitmapCombobox(this)) {
  SetUpCombo(m_languages, res::kComboLanguagePage, kRedKey);
  m_languages->move(140, 35);
  m_languages->addItem(QStringLiteral("English"));
  m_languages->addItem(QStringLiteral("简体中文"));
  m_languages->setCurrentIndex(0);
  Words()
      .Text(this, res::words::kLanguage, res::words::kLanguagePageLabelBox)
      ->setBuddy(m_languages);
  connect(m_languages, &MyBitmapCombobox::selectionChanged, this, [this](int index) {
    if (m_chosen) m_chosen(LanguageOfRow(index));
  });
}

void SettingLanguage::keyPressEvent(QKeyEvent* event) {
  if (!IsPlainEnter(*event)) {
    SkinnedPage::keyPressEvent(event);
    return;
  }
  event->accept();
  if (m_chosen) m_chosen(LanguageOfRow(m_languages->currentIndex()));
}

void SettingLanguage::SetSettings(const int32_t* language) {
  if (language != nullptr) m_languages->setCurrentIndex(*language != 0 ? 1 : 0);
}

void SettingLanguage::SetLanguage(Language language) {
  LoadBackground(InLanguage(language, res::kLanguagePageEn, res::kLanguagePageZh));
  Words().Show(language);
}

}  // namespace vantorel
