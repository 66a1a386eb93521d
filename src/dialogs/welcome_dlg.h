#pragma once

#include <QDialog>
#include <QImage>

#include "app/settings.h"
#include "platform/host_zone.h"

namespace vantorel {

class MyBitmapButton;
class MyBitmapCombobox;

// The first start's questions: language, zone, daylight saving, and whether to ask again.
// OK writes the answers into the bound record; Cancel changes nothing.
class WelcomeDlg : public QDialog {
 public:
  explicit WelcomeDlg(SettingsRecord* settings, QWidget* parent = nullptr,
                      const platform::HostZone& host = platform::SystemHostZone());

  // Applies the language combo's choice when it differs from the one shown.
  void SetLanguage();
  void OnOk();

  int Language() const { return m_language; }
  MyBitmapCombobox* Languages() const { return m_languages; }
  MyBitmapCombobox* Zones() const { return m_zones; }
  MyBitmapButton* DstBox() const { return m_dst; }
  MyBitmapButton* ShowAgainBox() const { return m_showAgain; }
  const QImage& Background() const { return m_background; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void LoadBackground(int id);

  SettingsRecord* m_settings;
  const platform::HostZone& m_host;
  int m_language = 0;
  int m_timeZone = -1;
  QImage m_background;
  bool m_shaped = false;
  MyBitmapButton* m_dst;
  MyBitmapButton* m_showAgain;
  MyBitmapButton* m_close;
  MyBitmapButton* m_ok;
  MyBitmapButton* m_cancel;
  MyBitmapCombobox* m_languages;
  MyBitmapCombobox* m_zones;
};

}  // namespace vantorel
