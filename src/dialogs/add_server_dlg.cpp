#include "dialogs/add_server_dlg.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantorel {
namespace {
constexpr int kChinese = 1;
}

AddServerDlg::AddServerDlg(bool editMode, const std::string& name, int language, QWidget* parent)
    : QDialog(parent), m_edit(new QLineEdit(this)), m_ok(new QPushButton(this)) {
  const bool chinese = language == kChinese;
  auto* cancel = new QPushButton(chinese ? QStringLiteral("取消") : QStringLiteral("Cancel"), this);
  m_ok->setText(chinese ? QStringLiteral("确定") : QStringLiteral("OK"));
  m_ok->setDefault(true);
  if (editMode) {
    m_edit->setText(QString::fromStdString(name));
    setWindowTitle(chinese ? QStringLiteral("编辑NTP服务器地址")
                           : QStringLiteral("Edit NTP Server"));
  } else {
    setWindowTitle(chinese ? QStringLiteral("添加NTP服务器地址")
                           : QStringLiteral("Add NTP Server"));
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
