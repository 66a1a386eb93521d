#pragma once

#include <QDialog>
#include <QString>

#include "settings/language.h"

class QLabel;
class QPushButton;

namespace vantorel {

// The program's own question box: a centred text and two buttons worded in the interface
// language. The text and caption are shown exactly as given.
class MyMessageBox : public QDialog {
 public:
  static constexpr int kIdOk = 1;
  static constexpr int kIdCancel = 2;
  static constexpr int kTypeYesNo = 4;

  explicit MyMessageBox(QWidget* parent = nullptr);

  // Runs the box modally: kIdOk from button 1 or Enter, kIdCancel from button 2, Escape or
  // the close box. A null text or caption keeps the previous one.
  int Show(const QString& text, const QString& caption, int type, Language language);

  // The wording of buttons 1 and 2 for a type and language.
  static QString ButtonText(int button, int type, Language language);
  QPushButton* Button(int button) const;
  QString Text() const;

 private:
  QLabel* m_text;
  QPushButton* m_ok;
  QPushButton* m_cancel;
};

}  // namespace vantorel
