#pragma once

#include <array>
#include <string>
#include <string_view>

// The words of the skins, English and Chinese, in UTF-8: the generator draws them into the
// pictures and the windows give the same words to screen readers, so what is read aloud is
// always what is drawn.
namespace vantorel::res {

struct Words {
  const char* english;
  const char* chinese;
  constexpr const char* In(int language) const { return language == 1 ? chinese : english; }
};

// Where words are drawn in their picture, in the picture's units.
struct Box {
  int x;
  int y;
  int width;
  int height;
};

// What a screen reader says for drawn words: the drawing spaces Chinese button labels out
// ("更 新"), which a voice would read as a pause inside one word.
std::string Spoken(std::string_view drawn);

namespace words {

// The main window.
inline constexpr Words kTitle{"Vantorel", "Vantorel 校时"};
inline constexpr Words kMainHint{
    "Hold the watch against the flashing area\nbelow, screen at full brightness,\nthen press "
    "Calibrate.",
    "将手表贴近下方闪烁区域，\n屏幕亮度调到最高，然后按“校 时”。"};
inline constexpr Box kMainHintBox{24, 40, 264, 100};
inline constexpr Words kCalibration{"Calibration", "校准进度"};
inline constexpr Box kCalibrationBox{326, 112, 290, 16};
inline constexpr Words kKeysHint{"Return: Calibrate\nAlt+Return: local clock",
                                 "回车键：校时\nAlt+回车：按本机时钟"};
inline constexpr Box kKeysHintBox{476, 262, 150, 56};
inline constexpr Words kCaution{
    "This area flashes quickly. If flashing light troubles you, do not look at it while it "
    "flashes.",
    "该区域会快速闪烁。闪光令您不适或有光敏性癫痫史时，请勿注视。"};
inline constexpr Box kCautionBox{52, 530, 236, 60};
inline constexpr Words kNotCalibrated{"Not calibrated", "未校准"};
inline constexpr Words kCalibrated{"Calibrated", "已校准"};
// Sunday first; the Chinese ones are pictures, the English ones painted.
inline constexpr std::array<Words, 7> kWeekdays{{
    {"Sunday", "星期日"},
    {"Monday", "星期一"},
    {"Tuesday", "星期二"},
    {"Wednesday", "星期三"},
    {"Thursday", "星期四"},
    {"Friday", "星期五"},
    {"Saturday", "星期六"},
}};
inline constexpr Words kUpdate{"Update", "更 新"};
inline constexpr Words kCalibrate{"Calibrate", "校 时"};

// Buttons drawn as a glyph: their words are only ever spoken.
inline constexpr Words kClose{"Close", "关闭"};
inline constexpr Words kMinimise{"Minimise", "最小化"};
inline constexpr Words kSetting{"Setting", "设置"};
inline constexpr Words kHelpButton{"Help", "帮助"};
// Named by what they show, not drawn anywhere.
inline constexpr Words kSignalArea{"Signal area", "信号区域"};
inline constexpr Words kTime{"Time", "时间"};
inline constexpr Words kDate{"Date", "日期"};
inline constexpr Words kWeekday{"Weekday", "星期"};
inline constexpr Words kServerName{"Server name or address", "服务器名称或地址"};

// The dialogs.
inline constexpr Words kOk{"OK", "确 定"};
inline constexpr Words kCancel{"Cancel", "取 消"};
inline constexpr Words kWelcomeTitle{"Welcome to Vantorel", "欢迎使用 Vantorel"};
inline constexpr Words kLanguage{"Language", "语言"};
inline constexpr Words kTimeZone{"Time zone", "时区"};
inline constexpr Words kTimezonePage{"Timezone", "时区"};
inline constexpr Words kDst{"DST", "夏令时"};
inline constexpr Words kDontShowAgain{"Don't show again", "不再显示"};
inline constexpr Box kDontShowAgainBox{52, 227, 180, 24};
// The welcome dialog's labels, each beside its control.
inline constexpr Box kWelcomeLanguageBox{20, 65, 96, 34};
inline constexpr Box kWelcomeZoneBox{20, 124, 96, 34};
inline constexpr Box kWelcomeDstBox{359, 131, 70, 24};
// A settings page's label at the left of its row; the zone page's box and note.
inline constexpr Box kZonePageLabelBox{24, 39, 120, 24};
inline constexpr Box kLanguagePageLabelBox{24, 40, 120, 24};
inline constexpr Box kZonePageDstBox{367, 38, 70, 24};
inline constexpr Box kZoneNoteBox{24, 84, 400, 60};
inline constexpr Words kZoneNote{
    "The chosen zone's standard time is shown and sent to the watch.\nTick DST while daylight "
    "saving is in force: one hour ahead.",
    "所选时区的标准时间显示在主窗口并发送给手表；\n夏令时期间勾选“夏令时”，时间提前一小时。"};
inline constexpr std::array<Words, 3> kTabs{{
    {"Time Zone", "时区"},
    {"NTP Server", "NTP 服务器"},
    {"Language", "语言"},
}};
inline constexpr Words kRestore{"Restore defaults", "恢复默认"};
inline constexpr Words kAdd{"Add", "添加"};
inline constexpr Words kEdit{"Edit", "编辑"};
inline constexpr Words kDelete{"Delete", "删除"};
inline constexpr Words kServerList{"NTP servers", "NTP 服务器"};
inline constexpr Words kPromptTitle{"Prompt", "警示"};
inline constexpr Words kPromptQuestion{
    "Fail to connect to server. Do you want to calibrate with computer's time?",
    "无法连接服务器，是否用本机时间校时?"};
// A dialog's body text, inset from its edges and below its band.
inline constexpr Box BodyBox(int width, int height) {
  return {24, 44, width - 48, height - 100};
}
inline constexpr Words kHelpTitle{"Help", "帮助"};

struct HelpSection {
  Words heading;
  Words body;
};

inline constexpr std::array<HelpSection, 7> kHelpSections{{
    {{"What Vantorel does", "Vantorel 做什么"},
     {"It asks network time servers how far your computer's clock is off, shows the standard "
      "time of your zone and sends that time to your watch through the screen. It never "
      "changes the computer's clock. It calibrates at start, when you press Update and once an "
      "hour; after twelve good answers the label says Calibrated.",
      "它向网络时间服务器询问电脑时钟的偏差，显示所选时区的标准时间，并通过屏幕把时间传给手表"
      "。它从不改动电脑的时钟。启动时、按“更 新”时以及每小时一次重新校准；十二次有效应答后状态"
      "显示“已校准”。"}},
    {{"Setting a watch, step by step", "对表，一步一步"},
     {"1. Wait until the label says Calibrated.\n2. Hold the watch's light sensor flat against "
      "the middle of the black area on the left and keep it still.\n3. Press Calibrate or "
      "Return.\n4. About two seconds later the area flashes black and white for two seconds; "
      "the watch reads the date and time. Take it away when the flashing stops.",
      "1. 等状态显示“已校准”。\n2. 把手表的光感窗口平贴在左侧黑色区域的中央，保持不动。\n3. "
      "按“校 时”或回车键。\n4. 约两秒后区域黑白闪烁两秒，手表读取日期和时间；闪烁停止后再移开手"
      "表。"}},
    {{"Brightness and night light", "亮度与夜间模式"},
     {"Turn the screen up to full brightness and switch off night-light or eye-care colour "
      "modes: the watch reads the area's light.",
      "屏幕亮度调到最高，关闭夜间模式、护眼模式等改变颜色的功能：手表读的是区域的明暗。"}},
    {{"Caution: flashing", "注意：闪烁"},
     {"The area flashes quickly. If flashing light troubles you, or you have a history of "
      "photosensitive epilepsy, do not look at it while it flashes.",
      "该区域会快速闪烁。闪光令您不适，或有光敏性癫痫病史时，请勿注视闪烁区域。"}},
    {{"Without a network", "没有网络时"},
     {"When no server answers, Vantorel asks whether to use the computer's own time; "
      "Alt+Return sends it at once. The label then says Not calibrated, and the watch is as "
      "right as the computer's clock.",
      "无法连接服务器时程序会询问是否用本机时间校时；Alt+回车也直接发送本机时间。此时状态显示“"
      "未校准”，精度取决于电脑时钟。"}},
    {{"Where the settings live", "设置文件"},
     {"In Setting.ini beside the program, or in ~/.config/vantorel/Setting.ini where the "
      "program's folder cannot be written. A file it cannot read is never written over.",
      "设置保存在程序旁的 Setting.ini；那里不能写入时，保存在 ~/.config/vantorel/"
      "Setting.ini。无法读取的文件绝不会被覆盖。"}},
    {{"The server list", "服务器列表"},
     {"The NTP Server page adds, edits and deletes servers, or restores the built-in list. "
      "Each address of a name is a server: several are asked at once, none twice in 4 s.",
      "在“设置”的“NTP 服务器”页可以添加、编辑、删除服务器，或恢复默认的列表。程序同时询问一个"
      "名称的各个地址，同一地址至少相隔 4 秒；要求停止询问的服务器不再打扰。"}},
}};

}  // namespace words
}  // namespace vantorel::res
