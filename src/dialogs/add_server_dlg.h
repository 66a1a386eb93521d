#pragma once

#include <QDialog>
#include <string>

#include "settings/language.h"

class QLineEdit;
class QPushButton;

namespace vantorel {

// Asks for one server name, to add or to edit. OK with an empty box does nothing; any other
// text, blanks included, is taken as it stands.
class AddServerDlg : public QDialog {
 public:
  AddServerDlg(bool editMode, const std::string& name, Language language,
               QWidget* parent = nullptr);
  std::string Name() const;
  QLineEdit* Edit() const { return m_edit; }
  QPushButton* OkButton() const { return m_ok; }

 private:
  QLineEdit* m_edit;
  QPushButton* m_ok;
};

}  // namespace vantorel
