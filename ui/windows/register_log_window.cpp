#include "ui/windows/register_log_window.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

const WindowDefinition& registerLogWindow() {
    using enum EventKind;
    using namespace register_log_window;
    static const WindowDefinition definition{
        .caption = "登记导出与安全日志",
        .width = 900,
        .height = 600,
        .events = {{Created, Handler::RegisterLogCreated}},
        .controls =
            {
                groupBox(kExportGroup, "导出登记", {12, 8, 860, 64}),
                label(kFromLabel, "从", {12, 28, 24, 24}).in(kExportGroup),
                datePicker(kFromPicker, {40, 26, 130, 24}).in(kExportGroup).onlyDays().tab(1),
                label(kToLabel, "至", {178, 28, 24, 24}).in(kExportGroup),
                datePicker(kToPicker, {204, 26, 130, 24}).in(kExportGroup).onlyDays().tab(2),
                button(kExportButton, "导出CSV", {346, 24, 90, 28})
                    .in(kExportGroup)
                    .on(Clicked, Handler::ExportRegister)
                    .tab(3),
                button(kPrintButton, "打印登记表", {444, 24, 110, 28})
                    .in(kExportGroup)
                    .on(Clicked, Handler::PrintRegister)
                    .tab(4),
                label(kRetentionLabel, "退房后保留(年):", {590, 28, 110, 24}).in(kExportGroup),
                editBox(kRetentionEdit, {702, 26, 50, 24})
                    .in(kExportGroup)
                    .mode(EditMode::Decimal)
                    .limit(2)
                    .tab(5),
                button(kSaveRetentionButton, "保存", {760, 24, 80, 28})
                    .in(kExportGroup)
                    .on(Clicked, Handler::SaveRetention)
                    .tab(6),
                table(kLogTable, {12, 84, 860, 440},
                      {
                          {"时间", 150},
                          {"用户", 100},
                          {"操作", 70},
                          {"住客", 120},
                          {"说明", 400},
                      })
                    .tab(7),
                button(kCancelButton, "关闭", {796, 534, 76, 30})
                    .on(Clicked, Handler::CloseWindow)
                    .tab(8),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
