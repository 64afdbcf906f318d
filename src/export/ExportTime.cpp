#include "export/ExportTime.h"

#include "export/ExportClock.h"
#include "text/Markers.h"

namespace tarvolin {
namespace {

struct Unit {
    int std::tm::*field;
    int offset;
    const Text& (*name)();
};

const Text& Year() {
    static const Text t = "年"_t;
    return t;
}
const Text& Month() {
    static const Text t = "月"_t;
    return t;
}
const Text& Day() {
    static const Text t = "日"_t;
    return t;
}
const Text& Hour() {
    static const Text t = "时"_t;
    return t;
}
const Text& Minute() {
    static const Text t = "分"_t;
    return t;
}
const Text& Second() {
    static const Text t = "秒"_t;
    return t;
}

Text Part(const std::tm& moment, const Unit& unit) {
    return IntToText(moment.*unit.field + unit.offset) + unit.name();
}

}  // namespace

Text DateTimeText(const std::tm& moment) {
    static constexpr Unit kDate[] = {
        {&std::tm::tm_year, 1900, Year}, {&std::tm::tm_mon, 1, Month}, {&std::tm::tm_mday, 0, Day}};
    static constexpr Unit kTime[] = {
        {&std::tm::tm_hour, 0, Hour}, {&std::tm::tm_min, 0, Minute}, {&std::tm::tm_sec, 0, Second}};
    Text text;
    for (const Unit& unit : kDate)
        text += Part(moment, unit);
    // The time runs up to its last part that is not 0.
    int parts = 3;
    while (parts > 0 && moment.*kTime[parts - 1].field == 0)
        --parts;
    for (int i = 0; i < parts; ++i)
        text += Part(moment, kTime[i]);
    return text;
}

Text TimeStamp() {
    const std::tm now = ExportLocalTime();
    if (now.tm_sec != 0) return TextBetween(DateTimeText(now), Day(), Second());
    return IntToText(now.tm_hour) + Hour() + IntToText(now.tm_min) + Minute() + IntToText(0);
}

}  // namespace tarvolin
