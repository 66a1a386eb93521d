#include "help/help_dlg.h"

#include "controls/my_bitmap_button.h"
#include "controls/skin_image.h"
#include "help/my_hyper_link.h"
#include "res/help_layout.h"
#include "res/resource_ids.h"
#include "res/skin_words.h"

namespace vantorel {
namespace {
constexpr int kCorner = 16;
const QRect kLinkPlace(50, 596, 500, 80);
}  // namespace

const char* const HelpDlg::kMakerUrl = "https://vantorel.example/";

HelpDlg::HelpDlg(Language language, QWidget* parent)
    : SkinnedDialog(parent, Qt::Tool, kCorner),
      m_link(new MyHyperLink(kLinkId, this)),
      m_close(new MyBitmapButton(kCloseId, this)) {
  setWindowTitle(QStringLiteral("Help"));
  Words().Name(this, res::words::kHelpTitle);
  Words().Name(m_close, res::words::kClose);
  SetLanguage(language);
  m_close->SetBitmap(res::kCloseButton, kRedKey, false, true);
  m_close->move(552, 10);
  connect(m_close, &MyBitmapButton::clicked, this, [this] {
    hide();
    m_shown = false;
  });
}

void HelpDlg::SetLanguage(Language language) {
  m_language = language;
  LoadBackground(InLanguage(language, res::kHelpEn, res::kHelpZh));
  const QString address = QString::fromLatin1(kMakerUrl);
  m_link->setText(InLanguage(language, QStringLiteral("Calibrate @ "),
                             QStringLiteral("校准手表，请进入网站：")) +
                  address);
  // Kept, and kept hidden: the picture carries everything the user reads.
  m_link->setGeometry(kLinkPlace);
  m_link->hide();
  m_link->SetLinkUrl(address);
  m_link->SetOpenOnClick(true);
  m_link->SetBackColor(Qt::white);
  Words().Show(language);
  PlaceSections();
  update();
}

// Each section a heading and its text, where the page draws them.
void HelpDlg::PlaceSections() {
  const res::HelpLayout layout = res::LayOutHelp(IndexOf(m_language));
  for (qsizetype i = 0; i < layout.blocks.size(); ++i) {
    if (i == m_sections.size()) {
      m_sections.append(qMakePair(new ReadableText(this), new ReadableText(this)));
    }
    const res::HelpBlock& block = layout.blocks[i];
    auto [heading, body] = m_sections[i];
    heading->SetText(block.heading);
    heading->setGeometry(block.headingBox.toAlignedRect());
    body->SetText(block.body);
    body->setGeometry(block.bodyBox.toAlignedRect());
  }
}

}  // namespace vantorel
