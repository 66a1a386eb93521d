#include "mainwnd/vantorel_dlg.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QIcon>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QShortcut>
#include <QtMath>

#include "clocks/analog_clock.h"
#include "clocks/signal_area.h"
#include "controls/my_bitmap_button.h"
#include "controls/my_bitmap_progress.h"
#include "controls/screen_fit.h"
#include "controls/skin_image.h"
#include "controls/ui_call.h"
#include "controls/window_drag.h"
#include "controls/wnd_shadow.h"
#include "dialogs/calib_time_prompt_dlg.h"
#include "dialogs/setting_dlg.h"
#include "help/help_dlg.h"
#include "res/resource_ids.h"
#include "res/skin_catalog.h"
#include "res/skin_words.h"
#include "res/skins.h"

namespace vantorel {
namespace {

constexpr int kProgressUpper = 48;
constexpr int kCorner = 10;
const QRgb kDateKey = qRgb(60, 60, 60);
const QColor kTextColour(240, 240, 240);

const QRect kTimeRect(QPoint(330, 150), QPoint(629, 211));
const QRect kDateRect(QPoint(330, 115), QPoint(629, 150));
const QRect kWeekdayRect(QPoint(430, 212), QPoint(529, 233));
const QPoint kLabelAt(326, 46);
constexpr int kTimeCellHeight = 60;
constexpr int kWeekdayCellHeight = 22;
const res::FrameSize kLabel = res::FrameOf(res::kStateLabel);
const res::FrameSize kWeekdayFrame = res::FrameOf(res::kWeekdayZh);
constexpr int kDateBitmapWidth = 300;
constexpr int kDigitWidth = 14;
constexpr int kDashAt = 140;
constexpr int kDashWidth = 20;
constexpr int kDashAdvance = 19;  // the dash overlaps the next glyph by a pixel

// A font whose cell (ascent plus descent) is the given height, as a positive height means to
// the platform the skins come from: the em size in the proportion of the face's own metrics,
// rounded down so the cell never grows past the height.
QFont ClockFont(int cellHeight, int weight) {
  // "Arial" resolves to a metric-compatible face where Arial itself is not installed.
  QFont font(QStringLiteral("Arial"));
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(cellHeight);
  const QFontMetricsF metrics(font);
  const qreal cell = metrics.ascent() + metrics.descent();
  if (cell > 0) font.setPixelSize(qMax(1, qFloor(cellHeight * cellHeight / cell)));
  return font;
}

}  // namespace

VantorelDlg::VantorelDlg(MainWindowServices services, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint),
      m_services(std::move(services)),
      m_close(new MyBitmapButton(kIdClose, this)),
      m_setting(new MyBitmapButton(kIdSetting, this)),
      m_minimise(new MyBitmapButton(kIdMinimise, this)),
      m_help(new MyBitmapButton(kIdHelp, this)),
      m_update(new MyBitmapButton(kIdUpdate, this)),
      m_calibrate(new MyBitmapButton(kIdCalibrate, this)),
      m_progress(new MyBitmapProgress(this)),
      m_analog(new AnalogClock(this)),
      m_signal(new SignalArea(this, *m_services.clock)),
      m_controller(*this, m_schedule, m_services) {
  setWindowTitle(QStringLiteral("QUMRA"));
  MakeTranslucent(this);
  // The clock faces are the same in both languages: measured once.
  m_timeFont = ClockFont(kTimeCellHeight, QFont::Normal);
  m_weekdayFont = ClockFont(kWeekdayCellHeight, QFont::Thin);
  setWindowIcon(QIcon(QPixmap::fromImage(LoadSkin(res::kIcon))));
  // The template's size until the first background sizes the window to itself.
  if (const res::SkinSpec* face = res::FindSkin(res::kMainBackgroundEn)) {
    resize(face->width, face->height);
  }
  new WindowDrag(this);
  GiveWords();  // before the first settings show every word in their language

  ApplySettings();
  m_signal->LoadLevelBitmaps(res::kSignalBlack, res::kSignalWhite);
  m_controller.AttachSignal(&m_signal->Transmitter());
  PlaceControls();
  m_weekdays = KeyedImage(LoadSkin(res::kWeekdayZh), kDateKey);

  m_close->SetBitmap(res::kCloseButton, kRedKey, false, true);
  m_setting->SetBitmap(res::kSettingButton, kRedKey, false, true);
  m_minimise->SetBitmap(res::kMinimiseButton, kRedKey, false, true);
  m_help->SetBitmap(res::kHelpButton, kRedKey, false, true);
  m_progress->SetBitmaps(res::kProgressTrough, res::kProgressBar, res::kProgressBarAlternative,
                         qRgb(255, 255, 255));
  m_progress->SetRange(0, kProgressUpper);
  m_progress->SetPos(0);
  TabInReadingOrder(this);

  CenterOnScreen(this);  // before the shadow makes the native window: see CenterOnScreen
  m_shadow = std::make_unique<WndShadow>();
  if (m_shadow->Create(this)) m_shadow->SetPosition(8, 8);

  connect(m_close, &MyBitmapButton::clicked, this, &VantorelDlg::reject);
  connect(m_minimise, &MyBitmapButton::clicked, this, &QWidget::showMinimized);
  connect(m_update, &MyBitmapButton::clicked, this, &VantorelDlg::OnUpdate);
  connect(m_calibrate, &MyBitmapButton::clicked, this, &VantorelDlg::OnCalibrate);
  connect(m_help, &MyBitmapButton::clicked, this, &VantorelDlg::OnHelp);
  connect(m_setting, &MyBitmapButton::clicked, this, [this] {
    SettingDlg settings(m_services.settingsFile, this, *m_services.hostZone);
    if (NestedLoop([&] { return settings.exec(); }) == QDialog::Accepted) ApplySettings();
  });

  // Return calibrates and Alt+Return corrects whichever control has the focus; each only
  // while its action is enabled.
  for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
    connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this,
            &VantorelDlg::OnCalibrate);
    connect(new QShortcut(QKeySequence(Qt::AltModifier | key), this), &QShortcut::activated, this,
            &VantorelDlg::OnCorrect);
  }

  m_analog->Start();
  m_controller.Start(m_services.calibrateAtStart);
}

VantorelDlg::~VantorelDlg() {
  Shutdown();
}

void VantorelDlg::Shutdown() {
  if (m_closing.exchange(true)) return;
  // Workers waiting on this window give up their calls now; then each of them is ended.
  m_controller.Shutdown();
  delete m_signal;  // ends a transmission before the window it reports to goes
  m_signal = nullptr;
  m_analog->Stop();
  m_helpDlg.reset();
  m_shadow.reset();
}

void VantorelDlg::reject() {
  if (m_nestedLoops > 0) {
    // A dialog or menu of this window runs its own loop further down this thread's stack,
    // and the run's worker may be waiting on it: close that first, then this window once its
    // loop has returned.
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this) modal->close();
    QTimer::singleShot(kNestedLoopRetry, this, [this] { reject(); });
    return;
  }
  Shutdown();
  QDialog::reject();
}

void VantorelDlg::OnUiThread(const std::function<void()>& call) {
  CallOnObjectThread(this, call, m_closing);
}

void VantorelDlg::OnViewThread(const std::function<void()>& call) {
  OnUiThread(call);
}

MyBitmapButton* VantorelDlg::Button(int id) const {
  switch (id) {
    case kIdClose:
      return m_close;
    case kIdSetting:
      return m_setting;
    case kIdMinimise:
      return m_minimise;
    case kIdHelp:
      return m_help;
    case kIdUpdate:
      return m_update;
    case kIdCalibrate:
      return m_calibrate;
    default:
      return nullptr;
  }
}

void VantorelDlg::PlaceControls() {
  m_close->move(613, 5);
  m_setting->move(562, 5);
  m_minimise->move(588, 5);
  m_help->move(537, 5);
  m_update->move(537, 37);
  m_calibrate->move(322, 264);
  m_progress->move(353, 95);
  m_analog->move(360, 350);
  m_signal->move(32, 154);
}

// What the window shows, for a screen reader: the drawn words where they are drawn, and the
// painted time, date, weekday and state where they are painted.
void VantorelDlg::GiveWords() {
  namespace words = res::words;
  m_words.Name(this, words::kTitle);
  m_words.Name(m_close, words::kClose);
  m_words.Name(m_setting, words::kSetting);
  m_words.Name(m_minimise, words::kMinimise);
  m_words.Name(m_help, words::kHelpButton);
  m_words.Name(m_update, words::kUpdate);
  m_words.Name(m_calibrate, words::kCalibrate);
  m_words.Name(m_signal, words::kSignalArea);
  m_words.Describe(m_signal, words::kCaution);
  m_words.Text(this, words::kMainHint, words::kMainHintBox);
  m_words.Text(this, words::kCalibration, words::kCalibrationBox)->setBuddy(m_progress);
  m_words.Name(m_progress, words::kCalibration);
  m_words.Text(this, words::kKeysHint, words::kKeysHintBox);
  m_words.Text(this, words::kCaution, words::kCautionBox);
  m_stateReadable = new ReadableText(this, QRect(kLabelAt, QSize(kLabel.width, kLabel.height)));
  m_timeReadable = new ReadableText(this, kTimeRect);
  m_dateReadable = new ReadableText(this, kDateRect);
  m_weekdayReadable = new ReadableText(this, kWeekdayRect);
  m_words.Describe(m_timeReadable, words::kTime);
  m_words.Describe(m_dateReadable, words::kDate);
  m_words.Describe(m_weekdayReadable, words::kWeekday);
}

// Every word in the window's language: at the start and when the language changes.
void VantorelDlg::ShowWords() {
  m_words.Show(m_language);
  ShowStateWords();
  ShowWeekdayWords();
}

void VantorelDlg::ShowStateWords() {
  m_stateReadable->Announce(SpokenText(
      m_labelCalibrated ? res::words::kCalibrated : res::words::kNotCalibrated, m_language));
}

void VantorelDlg::ShowWeekdayWords() {
  m_weekdayReadable->SetText(m_weekdayShown ? WeekdayText() : QString());
}

void VantorelDlg::ApplyLanguage(Language language) {
  m_language = language;
  LoadBackground(InLanguage(language, res::kMainBackgroundEn, res::kMainBackgroundZh));
  m_calibrate->SetBitmap(InLanguage(language, res::kCalibrateButtonEn, res::kCalibrateButtonZh),
                         kRedKey, false, true);
  m_update->SetBitmap(InLanguage(language, res::kUpdateButtonEn, res::kUpdateButtonZh), kRedKey,
                      false, true);
  ShowWords();
}

void VantorelDlg::LoadBackground(int id) {
  QImage picture = LoadSkin(id);
  if (picture.isNull()) return;
  m_skin = WithRoundCorners(picture, kCorner);
  DrawStateLabel(m_labelCalibrated);
  if (!m_shaped) {
    CutRoundedShape(this, LogicalSize(m_skin), kCorner);
    m_shaped = true;
  }
  update();
}

void VantorelDlg::DrawStateLabel(bool calibrated) {
  m_labelCalibrated = calibrated;
  if (m_skin.isNull()) return;
  m_background = m_skin;
  const QImage label = LoadSkin(res::kStateLabel);
  if (label.isNull()) return;
  m_labelFrame = 2 * IndexOf(m_language) + (calibrated ? 1 : 0);
  QPainter painter(&m_background);
  painter.drawImage(
      kLabelAt, label,
      ToPixels(label, QRect(kLabel.width * m_labelFrame, 0, kLabel.width, kLabel.height)));
}

void VantorelDlg::ComposeDateBitmap() {
  if (m_digits.isNull()) {
    m_digits = KeyedImage(LoadSkin(res::kDateDigits), kDateKey);
    if (m_digits.isNull()) return;
    const qreal ratio = m_digits.devicePixelRatio();
    m_date = QImage(qRound(kDateBitmapWidth * ratio), m_digits.height(),
                    QImage::Format_ARGB32_Premultiplied);
    m_date.setDevicePixelRatio(ratio);
  }
  m_date.fill(Qt::transparent);
  QPainter painter(&m_date);
  const int height = LogicalSize(m_digits).height();
  int x = 0;
  for (const QChar c : m_dateText) {
    if (c == QLatin1Char('-')) {
      painter.drawImage(QPoint(x, 0), m_digits,
                        ToPixels(m_digits, QRect(kDashAt, 0, kDashWidth, height)));
      x += kDashAdvance;
    } else if (c.isDigit() && c.digitValue() >= 0 && c.digitValue() <= 9) {
      painter.drawImage(
          QPoint(x, 0), m_digits,
          ToPixels(m_digits, QRect(kDigitWidth * c.digitValue(), 0, kDigitWidth, height)));
      x += kDigitWidth;
    }
  }
  m_dateWidth = x;
}

void VantorelDlg::PlaceHelp() {
  if (!m_helpDlg) return;
  const ScreenRect dock = HelpDock(ToScreenRect(frameGeometry()), m_helpDlg->width(),
                                   m_helpDlg->height(), ToScreenRect(AvailableAreaFor(this)));
  m_helpDlg->move(dock.x, dock.y);
}

void VantorelDlg::OnHelp() {
  if (!m_helpDlg) {
    // Owned by this window: its close button takes clicks while this window is modal.
    m_helpDlg = std::make_unique<HelpDlg>(m_language, this);
    PlaceHelp();
    m_helpDlg->show();
    m_helpDlg->SetShown(true);
    return;
  }
  if (m_helpDlg->ShownLanguage() != m_language) m_helpDlg->SetLanguage(m_language);
  PlaceHelp();
  m_helpDlg->setVisible(!m_helpDlg->Shown());
  m_helpDlg->SetShown(!m_helpDlg->Shown());
}

void VantorelDlg::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  if (m_helpDlg && m_helpDlg->Shown() && !isMinimized()) PlaceHelp();
}

// Back from minimised, a help window returns where it was: shown if it was shown.
void VantorelDlg::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || !m_helpDlg) return;
  if (isMinimized()) {
    m_helpDlg->hide();
  } else {
    PlaceHelp();
    m_helpDlg->setVisible(m_helpDlg->Shown());
  }
}

TimerSchedule::TimerSchedule() {
  m_timer.setTimerType(Qt::CoarseTimer);
  QObject::connect(&m_timer, &QTimer::timeout, [this] {
    if (m_due) m_due();
  });
}

void TimerSchedule::Start(std::chrono::milliseconds period, std::function<void()> due) {
  m_due = std::move(due);
  m_timer.start(period);
}

QString VantorelDlg::WeekdayText() const {
  return QString::fromUtf8(res::words::kWeekdays[m_weekday].In(IndexOf(m_language)));
}

void VantorelDlg::ShowLanguage(Language language) {
  OnUiThread([&] {
    ApplyLanguage(language);
    if (m_helpDlg && m_helpDlg->isVisible() && m_helpDlg->ShownLanguage() != m_language) {
      m_helpDlg->SetLanguage(m_language);
    }
  });
}

void VantorelDlg::ShowTime(std::string_view text, const platform::SystemTime* hands) {
  OnUiThread([&] {
    m_timeText = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    m_analog->SetTime(hands);
    m_analog->Redraw();
    update(kTimeRect);
    m_timeReadable->SetText(m_timeText);
  });
}

void VantorelDlg::ShowDate(std::string_view text) {
  OnUiThread([&] {
    m_dateText = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    ComposeDateBitmap();
    update(kDateRect);
    m_dateReadable->SetText(m_dateText);
  });
}

void VantorelDlg::ShowWeekday(std::optional<int> weekday) {
  OnUiThread([&] {
    if (weekday) m_weekday = *weekday;
    m_weekdayShown = weekday.has_value();
    update(kWeekdayRect);
    ShowWeekdayWords();
  });
}

void VantorelDlg::ShowCalibrated(bool calibrated) {
  OnUiThread([&] {
    if (calibrated == m_labelCalibrated && m_labelFrame >= 0) return;
    DrawStateLabel(calibrated);
    update(QRect(kLabelAt, QSize(kLabel.width, kLabel.height)));
    ShowStateWords();
  });
}

void VantorelDlg::ShowActions(const ActionStates& states) {
  OnUiThread([&] {
    m_calibrate->setEnabled(states.calibrate);
    m_update->setEnabled(states.update);
    m_correctEnabled = states.correct;
  });
}

void VantorelDlg::ShowTransmitting(bool transmitting) {
  OnUiThread([&] { m_signal->SetFlashing(transmitting); });
}

void VantorelDlg::SetProgressRange(int lower, int upper) {
  OnUiThread([&] { m_progress->SetRange(lower, upper); });
}
void VantorelDlg::SetProgressPos(int position) {
  OnUiThread([&] { m_progress->SetPos(position); });
}
void VantorelDlg::SetProgressMode(BarMode mode) {
  OnUiThread([&] { m_progress->SetBarMode(mode); });
}

bool VantorelDlg::AskUseComputerClock(Language language) {
  bool answer = false;
  OnUiThread([&] {
    answer = NestedLoop([&] {
      if (m_services.prompt) return m_services.prompt(language);
      CalibTimePromptDlg prompt(language, this);
      return prompt.exec() == QDialog::Accepted;
    });
  });
  return answer;
}

void VantorelDlg::paintEvent(QPaintEvent*) {
  if (m_background.isNull()) return;
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), m_background);
  painter.setPen(kTextColour);
  painter.setFont(m_timeFont);
  painter.drawText(kTimeRect, Qt::AlignCenter | Qt::TextSingleLine, m_timeText);
  if (!m_date.isNull() && m_dateWidth > 0) {
    const QPoint at(kDateRect.left() + (kDateRect.width() - m_dateWidth) / 2,
                    kDateRect.top() + (kDateRect.height() - LogicalSize(m_date).height()) / 2);
    painter.drawImage(at, m_date,
                      ToPixels(m_date, QRect(0, 0, m_dateWidth, LogicalSize(m_date).height())));
  }
  if (m_weekdayShown) {
    if (m_language == Language::kChinese && !m_weekdays.isNull()) {
      painter.drawImage(kWeekdayRect.topLeft(), m_weekdays,
                        ToPixels(m_weekdays, QRect(kWeekdayFrame.width * m_weekday, 0,
                                                   kWeekdayFrame.width, kWeekdayFrame.height)));
    } else {
      painter.setFont(m_weekdayFont);
      painter.drawText(kWeekdayRect, Qt::AlignCenter | Qt::TextSingleLine, WeekdayText());
    }
  }
}

void VantorelDlg::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(QStringLiteral("&About Vantorel..."), this, [this] {
    NestedLoop([this] {
      QMessageBox::about(this, QStringLiteral("About Vantorel"),
                         QStringLiteral("Vantorel Version 1.0"));
      return 0;
    });
  });
  NestedLoop([&] { return menu.exec(event->globalPos()) != nullptr; });
}

}  // namespace vantorel
