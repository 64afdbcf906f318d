#pragma once

#include <array>

#include "shell/Controls.h"
#include "text/Text.h"

// The fixed texts the exports show and write.
namespace tarvolin::export_texts {

inline constexpr int kColumns = 7;

// Row 1 of an all-columns sheet, A to G. The e-mail column reads "邮件" here.
const std::array<Text, kColumns>& AllColumnHeaders();

const Text& SuccessState();    // panel 0
const Text& FailureState();    // panel 0
const Text& SuccessMessage();  // panel 3
const Text& FailureMessage();  // panel 3
const Text& Seconds();         // "秒", after the time stamp in file names

// The box shown when the list has nothing to export.
MessageBoxSpec NothingToExportBox();

}  // namespace tarvolin::export_texts
