#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& registerLogWindow() {
    using enum EventKind;
    static const WindowDefinition definition{
        .caption = "登记导出与安全日志",
        .width = 900,
        .height = 600,
        .events = {{Created, Handler::RegisterLogCreated}},
        .controls =
            {
                groupBox("分组框1", "导出登记", {12, 8, 860, 64}),
                label("标签_起", "从", {12, 28, 24, 24}).in("分组框1"),
                datePicker("日期框_起", {40, 26, 130, 24}).in("分组框1").onlyDays().tab(1),
                label("标签_止", "至", {178, 28, 24, 24}).in("分组框1"),
                datePicker("日期框_止", {204, 26, 130, 24}).in("分组框1").onlyDays().tab(2),
                button("按钮_导出", "导出CSV", {346, 24, 90, 28})
                    .in("分组框1")
                    .on(Clicked, Handler::ExportRegister)
                    .tab(3),
                button("按钮_打印", "打印登记表", {444, 24, 110, 28})
                    .in("分组框1")
                    .on(Clicked, Handler::PrintRegister)
                    .tab(4),
                label("标签_保留年限", "退房后保留(年):", {590, 28, 110, 24}).in("分组框1"),
                editBox("编辑框_保留年限", {702, 26, 50, 24})
                    .in("分组框1")
                    .mode(EditMode::Decimal)
                    .limit(2)
                    .tab(5),
                button("按钮_保存年限", "保存", {760, 24, 80, 28})
                    .in("分组框1")
                    .on(Clicked, Handler::SaveRetention)
                    .tab(6),
                table("表格_日志", {12, 84, 860, 440},
                      {
                          {"时间", 150},
                          {"用户", 100},
                          {"操作", 70},
                          {"住客", 120},
                          {"说明", 400},
                      })
                    .tab(7),
                button("按钮_取消", "关闭", {796, 534, 76, 30})
                    .on(Clicked, Handler::CloseWindow)
                    .tab(8),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
