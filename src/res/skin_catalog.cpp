#include "res/skin_catalog.h"

#include <array>

#include "res/resource_ids.h"

namespace vantorel::res {
namespace {

// Where no size is fixed elsewhere, the size is chosen to fit the main window's layout:
// the Update button sits at (537, 37) beside the window's right edge, Calibrate at (322, 264)
// above the clock, the date strip matches the weekday frames' height, the icon is 64 px.
constexpr std::array<SkinSpec, 61> kCatalog = {{
    {kIcon, 64, 64, 1, kNoKey, -1, "program icon"},
    {kMainBackgroundEn, 640, 600, 1, kNoKey, 0, "main window background"},
    {kMainBackgroundZh, 640, 600, 1, kNoKey, 1, "main window background"},
    {kSettingButton, 96, 21, 4, kKeyRed, -1, "small button: setting"},
    {kMinimiseButton, 96, 21, 4, kKeyRed, -1, "small button: minimise"},
    {kCloseButton, 96, 21, 4, kKeyRed, -1, "small button: close"},
    {kHelpButton, 96, 21, 4, kKeyRed, -1, "small button: help"},
    {kUpdateButtonEn, 368, 40, 4, kKeyRed, 0, "Update"},
    {kUpdateButtonZh, 368, 40, 4, kKeyRed, 1, "Update"},
    {kCalibrateButtonEn, 560, 52, 4, kKeyRed, 0, "Calibrate"},
    {kCalibrateButtonZh, 560, 52, 4, kKeyRed, 1, "Calibrate"},
    {kStateLabel, 456, 26, 4, kNoKey, -1, "state label: en/zh x not calibrated/calibrated"},
    {kWeekdayZh, 700, 22, 7, kKeyDateGrey, 1, "weekday names, Sunday first"},
    {kDateDigits, 160, 22, 1, kKeyDateGrey, -1, "date digits 0-9 at 14 px, dash at 140"},
    {kProgressTrough, 245, 13, 1, kKeyWhite, -1, "progress trough"},
    {kProgressBar, 245, 13, 1, kKeyWhite, -1, "progress bar"},
    {kProgressBarAlternative, 245, 13, 1, kKeyWhite, -1, "progress bar, local-clock mode"},
    {kSignalBlack, 248, 360, 1, kNoKey, -1, "signal level 0"},
    {kSignalWhite, 248, 360, 1, kNoKey, -1, "signal level 1"},
    {kClockDial, 228, 228, 1, kNoKey, -1, "clock dial"},
    {kHourHand, 1140, 684, 15, kKeyHandStrip, -1, "hour hand cells"},
    {kMinuteHand, 1140, 684, 15, kKeyHandStrip, -1, "minute hand cells"},
    {kSecondHand, 1140, 684, 15, kKeyHandStrip, -1, "second hand cells"},
    {kCheckBox, 128, 17, 8, kKeyRed, -1, "check box"},
    {kWelcomeEn, 440, 277, 1, kNoKey, 0, "welcome dialog"},
    {kWelcomeZh, 440, 277, 1, kNoKey, 1, "welcome dialog"},
    {kWelcomeOkEn, 316, 33, 4, kKeyRed, 0, "welcome OK"},
    {kWelcomeOkZh, 316, 33, 4, kKeyRed, 1, "welcome OK"},
    {kWelcomeCancelEn, 316, 33, 4, kKeyRed, 0, "welcome Cancel"},
    {kWelcomeCancelZh, 316, 33, 4, kKeyRed, 1, "welcome Cancel"},
    {kComboWelcomeZone, 848, 34, 4, kKeyRed, -1, "combo face"},
    {kComboWelcomeLanguage, 848, 34, 4, kKeyRed, -1, "combo face"},
    {kComboLanguagePage, 824, 32, 4, kKeyRed, -1, "combo face"},
    {kComboZonePage, 836, 32, 4, kKeyOrangeRed, -1, "combo face"},
    {kSettingsEn, 440, 277, 1, kNoKey, 0, "settings dialog"},
    {kSettingsZh, 440, 277, 1, kNoKey, 1, "settings dialog"},
    {kSettingsOkEn, 324, 32, 4, kKeyRed, 0, "settings OK"},
    {kSettingsOkZh, 324, 32, 4, kKeyRed, 1, "settings OK"},
    {kSettingsCancelEn, 324, 32, 4, kKeyRed, 0, "settings Cancel"},
    {kSettingsCancelZh, 324, 32, 4, kKeyRed, 1, "settings Cancel"},
    {kRestoreEn, 524, 33, 4, kKeyRed, 0, "restore default servers"},
    {kRestoreZh, 524, 33, 4, kKeyRed, 1, "restore default servers"},
    {kTabStripEn, 927, 30, 9, kKeyRed, 0, "tabs: zone, server, language x normal, hover, selected"},
    {kTabStripZh, 927, 30, 9, kKeyRed, 1, "tabs: zone, server, language x normal, hover, selected"},
    {kLanguagePageEn, 440, 166, 1, kNoKey, 0, "language page"},
    {kLanguagePageZh, 440, 166, 1, kNoKey, 1, "language page"},
    {kServerPage, 440, 166, 1, kNoKey, -1, "server page"},
    {kZonePageEn, 440, 166, 1, kNoKey, 0, "time zone page"},
    {kZonePageZh, 440, 166, 1, kNoKey, 1, "time zone page"},
    {kAddButtonEn, 256, 18, 4, kKeyBlack, 0, "Add"},
    {kAddButtonZh, 256, 18, 4, kKeyBlack, 1, "Add"},
    {kEditButtonEn, 256, 18, 4, kKeyBlack, 0, "Edit"},
    {kEditButtonZh, 256, 18, 4, kKeyBlack, 1, "Edit"},
    {kDeleteButtonEn, 256, 18, 4, kKeyBlack, 0, "Delete"},
    {kDeleteButtonZh, 256, 18, 4, kKeyBlack, 1, "Delete"},
    {kServerList, 167, 145, 1, kNoKey, -1, "server list background"},
    {kServerListSelection, 167, 26, 1, kNoKey, -1, "server list selection"},
    {kPromptEn, 440, 277, 1, kNoKey, 0, "calibration prompt"},
    {kPromptZh, 440, 277, 1, kNoKey, 1, "calibration prompt"},
    {kHelpEn, 593, 630, 1, kNoKey, 0, "help page"},
    {kHelpZh, 593, 630, 1, kNoKey, 1, "help page"},
}};

}  // namespace

std::span<const SkinSpec> SkinCatalog() {
  return kCatalog;
}

const SkinSpec* FindSkin(int id) {
  for (const SkinSpec& spec : SkinCatalog()) {
    if (spec.id == id) return &spec;
  }
  return nullptr;
}

FrameSize FrameOf(int id) {
  const SkinSpec* spec = FindSkin(id);
  if (spec == nullptr || spec->frames <= 0) return {};
  return {spec->width / spec->frames, spec->height};
}

}  // namespace vantorel::res
