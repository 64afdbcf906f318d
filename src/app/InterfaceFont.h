#pragma once

class QApplication;
class QLabel;

namespace tarvolin {

// The program's font: a CJK face where one is installed, at the pixel size the form was drawn
// for (12 px), so that the Chinese texts fit their controls on every desktop scaling.
void UseInterfaceFont(QApplication& application);

// Makes a label's text fit its fixed width by taking a smaller size of the same face if needed.
void FitTextToWidth(QLabel& label);

}  // namespace tarvolin
