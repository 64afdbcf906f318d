// Turns a skin design into its style sheet: a fixed sheet for every kind of control the window
// uses, with @name@ slots filled from colours and sizes worked out of the design.

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>

#include "auxiliary/SkinDesign.h"

namespace tarvolin {
namespace {

struct Rgb {
    double r, g, b;
};

Rgb FromHex(std::uint32_t value) {
    return {double((value >> 16) & 0xFF), double((value >> 8) & 0xFF), double(value & 0xFF)};
}

// a moved towards b by share (0..1).
Rgb Mix(Rgb a, Rgb b, double share) {
    return {a.r + (b.r - a.r) * share, a.g + (b.g - a.g) * share, a.b + (b.b - a.b) * share};
}

std::string Hex(Rgb c) {
    auto byte = [](double v) { return static_cast<int>(std::clamp(v + 0.5, 0.0, 255.0)); };
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", byte(c.r), byte(c.g), byte(c.b));
    return buffer;
}

double Brightness(Rgb c) {
    return (0.299 * c.r + 0.587 * c.g + 0.114 * c.b) / 255.0;
}

std::string Px(int pixels) {
    return std::to_string(std::max(pixels, 0)) + "px";
}

// A vertical fill from top to bottom; a flat finish uses the bottom colour alone.
std::string Fill(SkinFinish finish, Rgb top, Rgb bottom) {
    if (finish == SkinFinish::Flat) return Hex(bottom);
    return "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 " + Hex(top) + ", stop:1 " + Hex(bottom) + ")";
}

std::map<std::string, std::string, std::less<>> Slots(const SkinDesign& d) {
    const Rgb white{255, 255, 255}, black{0, 0, 0};
    const Rgb base = FromHex(d.base), surface = FromHex(d.surface), accent = FromHex(d.accent),
              text = FromHex(d.text);
    const bool dark = Brightness(base) < 0.5;
    const Rgb light = dark ? Mix(base, white, 0.10) : Mix(base, white, 0.65);
    const Rgb button = Mix(base, accent, dark ? 0.22 : 0.14);
    const Rgb buttonHover = Mix(base, accent, dark ? 0.38 : 0.28);
    const Rgb border = Mix(base, text, 0.24);
    return {
        {"name", d.name},
        {"base", Hex(base)},
        {"surface", Hex(surface)},
        {"alternate", Hex(Mix(surface, base, 0.55))},
        {"text", Hex(text)},
        {"mutedText", Hex(Mix(text, base, 0.35))},
        {"disabledText", Hex(Mix(text, base, 0.55))},
        {"accent", Hex(accent)},
        {"accentText", Brightness(accent) > 0.62 ? Hex(Mix(black, accent, 0.1)) : Hex(white)},
        {"accentHover", Hex(Mix(accent, white, 0.18))},
        {"accentPressed", Hex(Mix(accent, black, 0.18))},
        {"accentSoft", Hex(Mix(surface, accent, dark ? 0.28 : 0.16))},
        {"border", Hex(border)},
        {"borderStrong", Hex(Mix(base, text, 0.40))},
        {"buttonBorder", Hex(Mix(border, accent, 0.45))},
        {"windowFill", Fill(d.finish, light, base)},
        {"buttonFill", Fill(d.finish, Mix(button, white, dark ? 0.08 : 0.55), button)},
        {"buttonHoverFill", Fill(d.finish, Mix(buttonHover, white, dark ? 0.10 : 0.45), buttonHover)},
        {"pressedFill", Fill(d.finish, Mix(accent, black, 0.28), accent)},
        {"headerFill", Fill(d.finish, Mix(base, white, dark ? 0.06 : 0.5), Mix(base, accent, 0.10))},
        {"statusFill", Fill(d.finish, Mix(base, text, 0.03), Mix(base, text, 0.08))},
        {"scrollGroove", Hex(Mix(surface, base, 0.7))},
        {"scrollHandle", Hex(Mix(base, text, 0.28))},
        {"scrollHover", Hex(Mix(accent, base, 0.2))},
        // drawn by the engine in a dark and a light tone
        {"arrowImage", dark ? ":/skinh/arrow-down-light.xpm" : ":/skinh/arrow-down-dark.xpm"},
        {"radius", Px(d.radius)},
        {"smallRadius", Px(d.radius > 2 ? d.radius - 2 : d.radius)},
        {"handleRadius", Px(std::min(d.radius, 5))},
        {"bw", Px(d.border)},
    };
}

constexpr std::string_view kSheet = R"(/* Tarvolin skin: @name@ */
QWidget {
    color: @text@;
    background-color: @base@;
    selection-color: @accentText@;
    selection-background-color: @accent@;
}
QMainWindow, QDialog, QMessageBox {
    background: @windowFill@;
}
QLabel {
    background: transparent;
}
QLabel:disabled, QWidget:disabled {
    color: @disabledText@;
}
QPushButton {
    background: @buttonFill@;
    border: @bw@ solid @buttonBorder@;
    border-radius: @radius@;
    padding: 4px 2px;
    min-height: 18px;
}
QMessageBox QPushButton, QDialog QPushButton {
    padding: 4px 14px;
    min-width: 56px;
}
QPushButton:default {
    border-color: @accent@;
}
QPushButton:hover {
    background: @buttonHoverFill@;
    border-color: @accent@;
}
QPushButton:pressed, QPushButton:checked {
    background: @pressedFill@;
    color: @accentText@;
    border-color: @accentPressed@;
}
QPushButton:disabled {
    background: @base@;
    color: @disabledText@;
    border-color: @border@;
}
QLineEdit, QTextEdit, QPlainTextEdit, QSpinBox {
    background-color: @surface@;
    border: @bw@ solid @border@;
    border-radius: @smallRadius@;
    padding: 3px 5px;
}
QLineEdit:hover, QTextEdit:hover, QPlainTextEdit:hover, QSpinBox:hover {
    border-color: @borderStrong@;
}
QLineEdit:focus, QTextEdit:focus, QPlainTextEdit:focus, QSpinBox:focus {
    border-color: @accent@;
}
QComboBox {
    background: @buttonFill@;
    border: @bw@ solid @buttonBorder@;
    border-radius: @smallRadius@;
    padding: 3px 6px;
    min-height: 18px;
}
QComboBox:hover, QComboBox:focus {
    border-color: @accent@;
}
QComboBox::drop-down {
    subcontrol-origin: padding;
    subcontrol-position: center right;
    width: 16px;
    border: none;
}
QComboBox::down-arrow {
    image: url(@arrowImage@);
    width: 9px;
    height: 5px;
}
QComboBox:editable {
    background-color: @surface@;
}
QComboBox QAbstractItemView {
    background-color: @surface@;
    border: 1px solid @borderStrong@;
    outline: 0;
}
QComboBox QAbstractItemView::item:hover {
    background-color: @accentSoft@;
}
QAbstractItemView {
    background-color: @surface@;
    alternate-background-color: @alternate@;
    border: @bw@ solid @border@;
}
QTreeView, QTableView, QListView {
    background-color: @surface@;
    alternate-background-color: @alternate@;
    border: @bw@ solid @border@;
    border-radius: @smallRadius@;
    gridline-color: @border@;
    outline: 0;
}
QTreeView::item, QListView::item {
    padding: 2px 0px;
}
QTreeView::item:hover, QListView::item:hover, QTableView::item:hover {
    background-color: @accentSoft@;
}
QTreeView::item:selected, QListView::item:selected, QTableView::item:selected {
    background-color: @accent@;
    color: @accentText@;
}
QHeaderView {
    background-color: @base@;
    border: none;
}
QHeaderView::section {
    background: @headerFill@;
    color: @text@;
    padding: 4px 6px;
    border: none;
    border-right: 1px solid @border@;
    border-bottom: 1px solid @borderStrong@;
}
QHeaderView::section:hover {
    background: @buttonHoverFill@;
}
QHeaderView::section:pressed {
    background: @pressedFill@;
    color: @accentText@;
}
QTableCornerButton::section {
    background: @headerFill@;
    border: none;
    border-bottom: 1px solid @borderStrong@;
}
QStatusBar {
    background: @statusFill@;
    border-top: 1px solid @border@;
    color: @text@;
}
QStatusBar::item {
    border: none;
    border-right: 1px solid @border@;
}
QStatusBar QLabel {
    background: transparent;
    color: @text@;
    padding: 0px 4px;
}
QMenuBar {
    background: @headerFill@;
    border-bottom: 1px solid @border@;
}
QMenuBar::item {
    background: transparent;
    padding: 4px 10px;
}
QMenuBar::item:selected {
    background-color: @accent@;
    color: @accentText@;
}
QMenu {
    background-color: @surface@;
    border: 1px solid @borderStrong@;
    border-radius: @smallRadius@;
    padding: 4px 0px;
}
QMenu::item {
    background: transparent;
    padding: 5px 28px 5px 22px;
}
QMenu::item:selected {
    background-color: @accent@;
    color: @accentText@;
}
QMenu::item:disabled {
    color: @disabledText@;
}
QMenu::separator {
    height: 1px;
    background: @border@;
    margin: 4px 8px;
}
QMessageBox QLabel {
    color: @text@;
    padding: 2px;
}
QToolTip {
    background-color: @surface@;
    color: @text@;
    border: 1px solid @borderStrong@;
    padding: 3px;
}
QGroupBox {
    border: @bw@ solid @border@;
    border-radius: @radius@;
    margin-top: 10px;
    padding-top: 6px;
}
QGroupBox::title {
    subcontrol-origin: margin;
    left: 8px;
    padding: 0px 4px;
    color: @mutedText@;
}
QScrollBar:vertical {
    background: @scrollGroove@;
    width: 12px;
    margin: 0px;
    border: none;
}
QScrollBar:horizontal {
    background: @scrollGroove@;
    height: 12px;
    margin: 0px;
    border: none;
}
QScrollBar::handle:vertical {
    background: @scrollHandle@;
    min-height: 24px;
    margin: 2px;
    border-radius: @handleRadius@;
}
QScrollBar::handle:horizontal {
    background: @scrollHandle@;
    min-width: 24px;
    margin: 2px;
    border-radius: @handleRadius@;
}
QScrollBar::handle:hover, QScrollBar::handle:pressed {
    background: @scrollHover@;
}
QScrollBar::add-line, QScrollBar::sub-line {
    width: 0px;
    height: 0px;
    border: none;
    background: none;
}
QScrollBar::add-page, QScrollBar::sub-page {
    background: none;
}
)";

// Replaces every @slot@ in the sheet by its value; an unknown slot is left as it stands.
std::string FillSlots(std::string_view sheet, const std::map<std::string, std::string, std::less<>>& slots) {
    std::string out;
    out.reserve(sheet.size() * 5 / 4);
    size_t at = 0;
    while (at < sheet.size()) {
        const size_t open = sheet.find('@', at);
        const size_t close = open == std::string_view::npos ? open : sheet.find('@', open + 1);
        if (close == std::string_view::npos) break;
        out.append(sheet, at, open - at);
        const auto slot = slots.find(sheet.substr(open + 1, close - open - 1));
        if (slot != slots.end()) {
            out += slot->second;
            at = close + 1;
        } else {
            out += '@';
            at = open + 1;
        }
    }
    out.append(sheet.substr(std::min(at, sheet.size())));
    return out;
}

}  // namespace

std::string RenderSkin(const SkinDesign& design) {
    return FillSlots(kSheet, Slots(design));
}

}  // namespace tarvolin
