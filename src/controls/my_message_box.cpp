#include "controls/my_message_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantorel {
namespace {}

MyMessageBox::MyMessageBox(QWidget* parent)
    : QDialog(parent),
      m_text(new QLabel(this)),
      m_ok(new QPushButton(this)),
      m_cancel(new QPushButton(this)) {
  m_text->setAlignment(Qt::AlignCenter);
  m_text->setWordWrap(true);
  m_text->setTextFormat(Qt::PlainText);  // never markup: the text is shown as given
  m_ok->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_ok);
  buttons->addWidget(m_cancel);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_text, 1);
  layout->addLayout(buttons);
  resize(360, 110);
  connect(m_ok, &QPushButton::clicked, this, [this] { done(kIdOk); });
  connect(m_cancel, &QPushButton::clicked, this, [this] { done(kIdCancel); });
}

QString MyMessageBox::ButtonText(int button, int type, Language language) {
  if (language == Language::kChinese)
    return button == kIdOk ? QStringLiteral("确定") : QStringLiteral("取消");
  if (type == kTypeYesNo) return button == kIdOk ? QStringLiteral("Yes") : QStringLiteral("No");
  return button == kIdOk ? QStringLiteral("OK") : QStringLiteral("Cancel");
}

QPushButton* MyMessageBox::Button(int button) const {
  return button == kIdOk ? m_ok : m_cancel;
}

QString MyMessageBox::Text() const {
  return m_text->text();
}

int MyMessageBox::Show(const QString& text, const QString& caption, int type, Language language) {
  if (!text.isNull()) m_text->setText(text);
  if (!caption.isNull()) setWindowTitle(caption);
  m_ok->setText(ButtonText(kIdOk, type, language));
  m_cancel->setText(ButtonText(kIdCancel, type, language));
  const int result = exec();
  // Escape and the close box reject the dialog: that is Cancel.
  return result == kIdOk ? kIdOk : kIdCancel;
}

}  // namespace vantorel
