#pragma once

// Picture ids of the skins, one name per picture.
namespace vantorel::res {

inline constexpr int kIcon = 128;
inline constexpr int kMainBackgroundEn = 129;
inline constexpr int kMainBackgroundZh = 143;
inline constexpr int kSettingButton = 130;
inline constexpr int kMinimiseButton = 136;
inline constexpr int kCloseButton = 137;
inline constexpr int kHelpButton = 167;
inline constexpr int kUpdateButtonEn = 161;
inline constexpr int kUpdateButtonZh = 160;
inline constexpr int kCalibrateButtonEn = 153;
inline constexpr int kCalibrateButtonZh = 152;
inline constexpr int kStateLabel = 213;
inline constexpr int kWeekdayZh = 151;
inline constexpr int kDateDigits = 162;
inline constexpr int kProgressTrough = 147;
inline constexpr int kProgressBar = 148;
inline constexpr int kProgressBarAlternative = 149;
inline constexpr int kSignalBlack = 145;
inline constexpr int kSignalWhite = 146;

inline constexpr int kClockDial = 214;
inline constexpr int kHourHand = 139;
inline constexpr int kMinuteHand = 140;
inline constexpr int kSecondHand = 141;

inline constexpr int kCheckBox = 142;
inline constexpr int kWelcomeEn = 170;
inline constexpr int kWelcomeZh = 169;
inline constexpr int kWelcomeOkEn = 177;
inline constexpr int kWelcomeOkZh = 175;
inline constexpr int kWelcomeCancelEn = 174;
inline constexpr int kWelcomeCancelZh = 173;
inline constexpr int kComboWelcomeLanguage = 171;
inline constexpr int kComboWelcomeZone = 172;
inline constexpr int kComboLanguagePage = 206;
inline constexpr int kComboZonePage = 205;

inline constexpr int kSettingsEn = 180;
inline constexpr int kSettingsZh = 179;
inline constexpr int kSettingsOkEn = 182;
inline constexpr int kSettingsOkZh = 181;
inline constexpr int kSettingsCancelEn = 186;
inline constexpr int kSettingsCancelZh = 185;
inline constexpr int kRestoreEn = 184;
inline constexpr int kRestoreZh = 183;
inline constexpr int kTabStripEn = 188;
inline constexpr int kTabStripZh = 187;
inline constexpr int kLanguagePageEn = 195;
inline constexpr int kLanguagePageZh = 192;
inline constexpr int kServerPage = 196;
inline constexpr int kZonePageEn = 198;
inline constexpr int kZonePageZh = 197;
inline constexpr int kAddButtonEn = 200;
inline constexpr int kAddButtonZh = 199;
inline constexpr int kEditButtonEn = 194;
inline constexpr int kEditButtonZh = 193;
inline constexpr int kDeleteButtonEn = 202;
inline constexpr int kDeleteButtonZh = 201;
inline constexpr int kServerList = 203;
inline constexpr int kServerListSelection = 204;

inline constexpr int kPromptEn = 212;
inline constexpr int kPromptZh = 211;
inline constexpr int kHelpEn = 210;
inline constexpr int kHelpZh = 209;

}  // namespace vantorel::res
