#pragma once

#include <QRect>
#include <QSize>
#include <Qt>
#include <array>

// The main window's fixed form: places, sizes and texts of its controls (UTF-8).
namespace tarvolin::layout {

inline constexpr const char* kCaption = "Tarvolin1.3";
inline constexpr QPoint kWindowPosition{50, 50};
inline constexpr QSize kOuterSize{718, 513};

struct Place {
    const char* name;
    QRect rect;
    const char* text;
};

// Label, edit box, the two drop-down lists and the four buttons, in the form's order.
inline constexpr std::array<Place, 8> kControls{{
    {"标签1", QRect(2, 13, 40, 19), "关键字："},
    {"编辑框_搜索内容", QRect(47, 7, 67, 31), ""},
    {"组合框1", QRect(126, 3, 107, 15), ""},
    {"组合框2", QRect(126, 23, 107, 15), ""},
    {"按钮_开始", QRect(240, 6, 62, 33), "开始搜索"},
    {"按钮_暂停搜索", QRect(310, 6, 62, 33), "暂停搜索"},
    {"按钮_继续搜索", QRect(380, 6, 62, 33), "继续搜索"},
    {"按钮_停止搜索", QRect(452, 6, 62, 33), "停止搜索"},
}};

inline constexpr Place kList{"超级列表框1", QRect(0, 45, 712, 419), ""};
inline constexpr Place kStatusBar{"状态条1", QRect(0, 421, 713, 20), ""};

inline constexpr std::array<const char*, 26> kAutoExportItems{"默认不自动导出",
                                                              "1代表25条数据",
                                                              "1",
                                                              "2",
                                                              "3",
                                                              "4",
                                                              "5",
                                                              "6",
                                                              "7",
                                                              "8",
                                                              "9",
                                                              "10",
                                                              "15",
                                                              "20",
                                                              "25",
                                                              "30",
                                                              "35",
                                                              "40",
                                                              "50",
                                                              "60",
                                                              "70",
                                                              "80",
                                                              "90",
                                                              "100",
                                                              "150",
                                                              "200"};

inline constexpr std::array<const char*, 6> kInterfaceItems{
    "这里是搜索接口", "现在是默认端口", "下个版本会更新", "↓更多的接口↓", "【继续关注吧】", "这里不用选择哦"};

struct Column {
    const char* title;
    int width;
    Qt::Alignment alignment;
};

inline constexpr std::array<Column, 7> kColumns{{
    {"公司名", 150, Qt::AlignLeft},
    {"联系人", 50, Qt::AlignLeft},
    {"电话", 84, Qt::AlignHCenter},
    {"手机", 78, Qt::AlignHCenter},
    {"传真", 84, Qt::AlignLeft},
    {"邮箱", 115, Qt::AlignLeft},
    {"地址", 130, Qt::AlignLeft},
}};

struct Panel {
    int width;
    const char* text;
};

inline constexpr std::array<Panel, 5> kPanels{{
    {80, "状态："},
    {110, "搜索结果："},
    {110, "成功获取："},
    {280, "温馨提醒：  【推荐在网速较好的时候使用！！】"},
    {150, "运行时间:0时0钟0秒"},
}};

inline constexpr int kClockPanel = 4;

}  // namespace tarvolin::layout
