#include "export/ExportTexts.h"

namespace tarvolin::export_texts {

const std::array<Text, kColumns>& AllColumnHeaders() {
    static const std::array<Text, kColumns> headers = {"公司名"_t, "联系人"_t, "电话"_t, "手机"_t,
                                                       "传真"_t,   "邮件"_t,   "地址"_t};
    return headers;
}

const Text& SuccessState() {
    static const Text text = "状态：成功！！"_t;
    return text;
}

const Text& FailureState() {
    static const Text text = "状态：失败！！"_t;
    return text;
}

const Text& SuccessMessage() {
    static const Text text = "数据导出成功！！"_t;
    return text;
}

const Text& FailureMessage() {
    static const Text text = "数据导出失败！！"_t;
    return text;
}

const Text& Seconds() {
    static const Text text = "秒"_t;
    return text;
}

MessageBoxSpec NothingToExportBox() {
    MessageBoxSpec box;
    box.text = "还没进行操作，不能导出！"_t;
    box.title = "信息："_t;
    box.buttons = BoxButtons::Ok;
    return box;
}

}  // namespace tarvolin::export_texts
