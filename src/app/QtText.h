#pragma once

#include <QString>

#include "text/Text.h"

// Texts cross into Qt only here, at the window's edge.
namespace tarvolin {

inline QString ToQString(const Text& text) {
    return QString::fromStdString(TextToUtf8(text));
}

inline Text ToText(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return Utf8Text(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

}  // namespace tarvolin
