#include "app/InterfaceFont.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>

namespace tarvolin {
namespace {

constexpr int kFormPixelSize = 12;
constexpr int kSmallestPixelSize = 9;

// Faces that hold the simplified Chinese the window shows, best first.
const char* const kCjkFamilies[] = {"WenQuanYi Micro Hei", "Noto Sans CJK SC",  "Noto Sans SC",
                                    "Source Han Sans SC",  "WenQuanYi Zen Hei", "AR PL UMing CN",
                                    "Droid Sans Fallback"};

}  // namespace

void UseInterfaceFont(QApplication& application) {
    // Faces that are not installed are passed over by the font matching; asking the font
    // database for its full list instead would cost the start-up a scan of every font.
    QStringList families;
    for (const char* family : kCjkFamilies)
        families << QString::fromUtf8(family);
    QFont font = application.font();
    families << font.families();
    font.setFamilies(families);
    font.setPixelSize(kFormPixelSize);
    application.setFont(font);
}

void FitTextToWidth(QLabel& label) {
    QFont font = label.font();
    const int available = label.width() - 2 * label.frameWidth();
    while (QFontMetrics(font).horizontalAdvance(label.text()) > available) {
        const int size = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
        if (size <= kSmallestPixelSize) break;
        font.setPixelSize(size - 1);
    }
    label.setFont(font);
}

}  // namespace tarvolin
