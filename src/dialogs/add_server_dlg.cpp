#include "dialogs/add_server_dlg.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/readable_text.h"
#include "res/skin_words.h"

namespace vantorel {
namespace {}

AddServerDlg::AddServerDlg(bool editMode, const std::string& name, Language language,
                           QWidget* parent)
    : QDialog(parent), m_edit(new QLineEdit(this)), m_ok(new QPushButton(this)) {
  auto* cancel = new QPushButton(InLanguage(language, "Cancel", "取消"), this);
  m_ok->setText(InLanguage(language, "OK", "确定"));
  m_ok->setDefault(true);
  m_edit->setAccessibleName(SpokenText(res::words::kServerName, language));
  if (editMode) {
    m_edit->setText(QString::fromStdString(name));
    setWindowTitle(InLanguage(language, "Edit NTP Server", "编辑NTP服务器地址"));
  } else {
    setWindowTitle(InLanguage(language, "Add NTP Server", "添加NTP服务器地址"));
  }
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_edit);
  layout->addLayout(buttons);
  resize(300, 80);
  connect(m_ok, &QPushButton::clicked, this, [this] {
    if (!m_edit->text().isEmpty()) accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::string AddServerDlg::Name() const {
  return m_edit->text().toStdString();
}

}  // namespace vantorel
