#include "timezone/time_zone_table.h"

namespace vantorel {

// Sorted by offset, west to east. Texts are shown to the user as they stand.
const std::array<TimeZoneRow, kTimeZoneCount + 1> kTimeZones = {{
    {-12.0f, "Dateline Standard Time", "(GMT-12:00) International Date Line West",
     "国际日期变更线标准时间", "(GMT-12:00) 日界线西"},  // 0
    {-11.0f, "Samoa Standard Time", "(GMT-11:00) Midway Island, Samoa", "萨摩亚群岛标准时间",
     "(GMT-11:00) 中途岛，萨摩亚群岛"},  // 1
    {-10.0f, "Hawaiian Standard Time", "(GMT-10:00) Hawaii", "夏威夷标准时间",
     "(GMT-10:00) 夏威夷"},  // 2
    {-9.0f, "Alaskan Standard Time", "(GMT-09:00) Alaska", "阿拉斯加标准时间",
     "(GMT-09:00) 阿拉斯加"},  // 3
    {-8.0f, "Pacific Standard Time", "(GMT-08:00) Pacific Time (US & Canada); Tijuana",
     "太平洋标准时间", "(GMT-08:00) 太平洋时间(美国和加拿大)；蒂华纳"},  // 4
    {-7.0f, "Mountain Standard Time", "(GMT-07:00) Mountain Time (US & Canada)", "山地标准时间",
     "(GMT-07:00) 山地时间(美国和加拿大)"},  // 5
    {-7.0f, "Mexico Standard Time 2", "(GMT-07:00) Chihuahua, La Paz, Mazatlan", "墨西哥标准时间 2",
     "(GMT-07:00) 奇瓦瓦，拉巴斯，马扎特兰"},  // 6
    {-7.0f, "US Mountain Standard Time", "(GMT-07:00) Arizona", "美国山地标准时间",
     "(GMT-07:00) 亚利桑那"},  // 7
    {-6.0f, "Central Standard Time", "(GMT-06:00) Central Time (US & Canada)", "中部标准时间",
     "(GMT-06:00) 中部时间(美国和加拿大)"},  // 8
    {-6.0f, "Canada Central Standard Time", "(GMT-06:00) Saskatchewan", "加拿大中部标准时间",
     "(GMT-06:00) 萨斯喀彻温"},  // 9
    {-6.0f, "Mexico Standard Time", "(GMT-06:00) Guadalajara, Mexico City, Monterrey",
     "墨西哥标准时间", "(GMT-06:00) 瓜达拉哈拉，墨西哥城，蒙特雷"},  // 10
    {-6.0f, "Central America Standard Time", "(GMT-06:00) Central America", "中美洲标准时间",
     "(GMT-06:00) 中美洲"},  // 11
    {-5.0f, "Eastern Standard Time", "(GMT-05:00) Eastern Time (US & Canada)", "东部标准时间",
     "(GMT-05:00) 东部时间(美国和加拿大)"},  // 12
    {-5.0f, "US Eastern Standard Time", "(GMT-05:00) Indiana (East)", "美国东部标准时间",
     "(GMT-05:00) 印地安那州(东部)"},  // 13
    {-5.0f, "SA Pacific Standard Time", "(GMT-05:00) Bogota, Lima, Quito", "南美州太平洋标准时间",
     "(GMT-05:00) 波哥大，利马，基多"},  // 14
    {-4.0f, "Atlantic Standard Time", "(GMT-04:00) Atlantic Time (Canada)", "大西洋标准时间",
     "(GMT-04:00) 大西洋时间(加拿大)"},  // 15
    {-4.0f, "SA Western Standard Time", "(GMT-04:00) Caracas, La Paz", "南美州西部标准时间",
     "(GMT-04:00) 加拉加斯，拉巴斯"},  // 16
    {-4.0f, "Pacific SA Standard Time", "(GMT-04:00) Santiago", "南美州太平洋标准时间",
     "(GMT-04:00) 圣地亚哥"},  // 17
    {-3.5f, "Newfoundland Standard Time", "(GMT-03:30) Newfoundland", "纽芬兰标准时间",
     "(GMT-03:30) 纽芬兰"},  // 18
    {-3.0f, "E. South America Standard Time", "(GMT-03:00) Brasilia", "南美州东部标准时间",
     "(GMT-03:00) 巴西利亚"},  // 19
    {-3.0f, "SA Eastern Standard Time", "(GMT-03:00) Buenos Aires, Georgetown",
     "南美州东部标准时间", "(GMT-03:00) 布宜诺斯艾利斯，乔治敦"},  // 20
    {-3.0f, "Greenland Standard Time", "(GMT-03:00) Greenland", "格陵兰东部标准时间",
     "(GMT-03:00) 格陵兰"},  // 21
    {-2.0f, "Mid-Atlantic Standard Time", "(GMT-02:00) Mid-Atlantic", "中大西洋标准时间",
     "(GMT-02:00) 中大西洋"},  // 22
    {-1.0f, "Azores Standard Time", "(GMT-01:00) Azores", "亚速尔群岛标准时间",
     "(GMT-01:00) 亚速尔群岛"},  // 23
    {-1.0f, "Cape Verde Standard Time", "(GMT-01:00) Cape Verde Is.", "佛得角群岛标准时间",
     "(GMT-01:00) 佛得角群岛"},  // 24
    {0.0f, "GMT Standard Time", "(GMT) Greenwich Mean Time : Dublin, Edinburgh, Lisbon, London",
     "格林威治标准时间", "(GMT) 格林威治标准时间: 都柏林, 爱丁堡, 伦敦, 里斯本"},  // 25
    {0.0f, "Greenwich Standard Time", "(GMT) Casablanca, Monrovia", "格林威治标准时间",
     "(GMT) 卡萨布兰卡，蒙罗维亚"},  // 26
    {1.0f, "Central Europe Standard Time",
     "(GMT+01:00) Belgrade, Bratislava, Budapest, Ljubljana, Prague", "中欧标准时间",
     "(GMT+01:00) 贝尔格莱德，布拉迪斯拉发，布达佩斯，卢布尔雅那，布拉格"},  // 27
    {1.0f, "Central European Standard Time", "(GMT+01:00) Sarajevo, Skopje, Warsaw, Zagreb",
     "中欧标准时间", "(GMT+01:00) 萨拉热窝，斯科普里，华沙，萨格勒布"},  // 28
    {1.0f, "Romance Standard Time", "(GMT+01:00) Brussels, Copenhagen, Madrid, Paris",
     "罗马标准时间", "(GMT+01:00) 布鲁塞尔，哥本哈根，马德里，巴黎"},  // 29
    {1.0f, "W. Europe Standard Time",
     "(GMT+01:00) Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna", "西欧标准时间",
     "(GMT+01:00) 阿姆斯特丹，柏林，伯尔尼，罗马，斯德哥尔摩，维也纳"},  // 30
    {1.0f, "W. Central Africa Standard Time", "(GMT+01:00) West Central Africa", "中非西部标准时间",
     "(GMT+01:00) 中非西部"},  // 31
    {2.0f, "E. Europe Standard Time", "(GMT+02:00) Bucharest", "东欧标准时间",
     "(GMT+02:00) 布加勒斯特"},                                                              // 32
    {2.0f, "Egypt Standard Time", "(GMT+02:00) Cairo", "埃及标准时间", "(GMT+02:00) 开罗"},  // 33
    {2.0f, "FLE Standard Time", "(GMT+02:00) Helsinki, Kyiv, Riga, Sofia, Tallinn, Vilnius",
     "FLE 标准时间", "(GMT+02:00) 赫尔辛基，基辅，里加，索非亚，塔林，维尔纽斯"},  // 34
    {2.0f, "GTB Standard Time", "(GMT+02:00) Athens, Beirut, Istanbul, Minsk", "GTB 标准时间",
     "(GMT+02:00) 雅典，贝鲁特，伊斯坦布尔，明斯克"},  // 35
    {2.0f, "Jerusalem Standard Time", "(GMT+02:00) Jerusalem", "耶路撒冷标准时间",
     "(GMT+02:00) 耶路撒冷"},  // 36
    {2.0f, "South Africa Standard Time", "(GMT+02:00) Harare, Pretoria", "南非标准时间",
     "(GMT+02:00) 哈拉雷，比勒陀利亚"},  // 37
    {3.0f, "Russian Standard Time", "(GMT+03:00) Moscow, St. Petersburg, Volgograd",
     "俄罗斯标准时间", "(GMT+03:00) 莫斯科，圣彼得堡, 伏尔加格勒"},  // 38
    {3.0f, "Arab Standard Time", "(GMT+03:00) Kuwait, Riyadh", "阿拉伯标准时间",
     "(GMT+03:00) 科威特，利雅得"},  // 39
    {3.0f, "E. Africa Standard Time", "(GMT+03:00) Nairobi", "东非标准时间",
     "(GMT+03:00) 内罗毕"},  // 40
    {3.0f, "Arabic Standard Time", "(GMT+03:00) Baghdad", "阿拉伯标准时间",
     "(GMT+03:00) 巴格达"},                                                                    // 41
    {3.5f, "Iran Standard Time", "(GMT+03:30) Tehran", "伊朗标准时间", "(GMT+03:30) 德黑兰"},  // 42
    {4.0f, "Arabian Standard Time", "(GMT+04:00) Abu Dhabi, Muscat", "阿拉伯半岛标准时间",
     "(GMT+04:00) 阿布扎比，马斯喀特"},  // 43
    {4.0f, "Caucasus Standard Time", "(GMT+04:00) Baku, Tbilisi, Yerevan", "高加索标准时间",
     "(GMT+04:00) 巴库，第比利斯，埃里温"},  // 44
    {4.5f, "Afghanistan Standard Time", "(GMT+04:30) Kabul", "阿富汗标准时间",
     "(GMT+04:30) 喀布尔"},  // 45
    {5.0f, "Ekaterinburg Standard Time", "(GMT+05:00) Ekaterinburg", "叶卡捷琳堡标准时间",
     "(GMT+05:00) 叶卡捷琳堡"},  // 46
    {5.0f, "West Asia Standard Time", "(GMT+05:00) Islamabad, Karachi, Tashkent", "西亚标准时间",
     "(GMT+05:00) 伊斯兰堡，卡拉奇，塔什干"},  // 47
    {5.5f, "Sri Lanka Standard Time", "(GMT+05:30) Sri Jayawardenepura", "斯里兰卡标准时间",
     "(GMT+05:30) 斯里哈亚华登尼普拉"},  // 48
    {5.5f, "India Standard Time", "(GMT+05:30) Chennai, Kolkata, Mumbai, New Delhi", "印度标准时间",
     "(GMT+05:30) 马德拉斯，加尔各答，孟买，新德里"},  // 49
    {5.75f, "Nepal Standard Time", "(GMT+05:45) Kathmandu", "尼泊尔标准时间",
     "(GMT+05:45) 加德满都"},  // 50
    {6.0f, "Central Asia Standard Time", "(GMT+06:00) Astana, Dhaka", "中亚标准时间",
     "(GMT+06:00) 阿斯塔纳，达卡"},  // 51
    {6.0f, "N. Central Asia Standard Time", "(GMT+06:00) Almaty, Novosibirsk", "中亚北部标准时间",
     "(GMT+06:00) 阿拉木图，新西伯利亚"},  // 52
    {6.5f, "Myanmar Standard Time", "(GMT+06:30) Rangoon", "缅甸标准时间",
     "(GMT+06:30) 仰光"},  // 53
    {7.0f, "SE Asia Standard Time", "(GMT+07:00) Bangkok, Hanoi, Jakarta", "东南亚标准时间",
     "(GMT+07:00) 曼谷，河内，雅加达"},  // 54
    {7.0f, "North Asia Standard Time", "(GMT+07:00) Krasnoyarsk", "北亚标准时间",
     "(GMT+07:00) 克拉斯诺亚尔斯克"},  // 55
    {8.0f, "China Standard Time", "(GMT+08:00) Beijing, Chongqing, Hong Kong, Urumqi",
     "中国标准时间", "(GMT+08:00) 北京，重庆，香港特别行政区，乌鲁木齐"},  // 56
    {8.0f, "Malay Peninsula Standard Time", "(GMT+08:00) Kuala Lumpur, Singapore",
     "马来西亚半岛标准时间", "(GMT+08:00) 吉隆坡，新加坡"},                                    // 57
    {8.0f, "Taipei Standard Time", "(GMT+08:00) Taipei", "台北标准时间", "(GMT+08:00) 台北"},  // 58
    {8.0f, "W. Australia Standard Time", "(GMT+08:00) Perth", "澳大利亚西部标准时间",
     "(GMT+08:00) 珀斯"},  // 59
    {8.0f, "North Asia East Standard Time", "(GMT+08:00) Irkutsk, Ulaan Bataar", "北亚东部标准时间",
     "(GMT+08:00) 伊尔库茨克，乌兰巴图"},                                                    // 60
    {9.0f, "Korea Standard Time", "(GMT+09:00) Seoul", "韩国标准时间", "(GMT+09:00) 首尔"},  // 61
    {9.0f, "Tokyo Standard Time", "(GMT+09:00) Osaka, Sapporo, Tokyo", "东京标准时间",
     "(GMT+09:00) 大坂，札幌，东京"},  // 62
    {9.0f, "Yakutsk Standard Time", "(GMT+09:00) Yakutsk", "雅库茨克标准时间",
     "(GMT+09:00) 雅库茨克"},  // 63
    {9.5f, "AUS Central Standard Time", "(GMT+09:30) Darwin", "澳大利亚中部标准时间",
     "(GMT+09:30) 达尔文"},  // 64
    {9.5f, "Cen. Australia Standard Time", "(GMT+09:30) Adelaide", "澳大利亚中部标准时间",
     "(GMT+09:30) 阿德莱德"},  // 65
    {10.0f, "AUS Eastern Standard Time", "(GMT+10:00) Canberra, Melbourne, Sydney",
     "澳大利亚东部标准时间", "(GMT+10:00) 堪培拉，墨尔本，悉尼"},  // 66
    {10.0f, "E. Australia Standard Time", "(GMT+10:00) Brisbane", "澳大利亚东部标准时间",
     "(GMT+10:00) 布里斯班"},  // 67
    {10.0f, "Tasmania Standard Time", "(GMT+10:00) Hobart", "塔斯马尼亚岛标准时间",
     "(GMT+10:00) 霍巴特"},  // 68
    {10.0f, "Vladivostok Standard Time", "(GMT+10:00) Vladivostok", "符拉迪沃斯托克标准时间",
     "(GMT+10:00) 符拉迪沃斯托克"},  // 69
    {10.0f, "West Pacific Standard Time", "(GMT+10:00) Guam, Port Moresby", "西太平洋标准时间",
     "(GMT+10:00) 关岛，莫尔兹比港"},  // 70
    {11.0f, "Central Pacific Standard Time", "(GMT+11:00) Magadan, Solomon Is., New Caledonia",
     "太平洋中部标准时间", "(GMT+11:00) 马加丹，索罗门群岛，新喀里多尼亚"},  // 71
    {12.0f, "Fiji Standard Time", "(GMT+12:00) Fiji, Kamchatka, Marshall Is.", "斐济标准时间",
     "(GMT+12:00) 斐济，堪察加半岛，马绍尔群岛"},  // 72
    {12.0f, "New Zealand Standard Time", "(GMT+12:00) Auckland, Wellington", "新西兰标准时间",
     "(GMT+12:00) 奥克兰，惠灵顿"},  // 73
    {13.0f, "Tonga Standard Time", "(GMT+13:00) Nuku'alofa", "汤加标准时间",
     "(GMT+13:00) 努库阿洛法"},  // 74
    {0.0f, "", "", "", ""},
}};

}  // namespace vantorel
