#include <QPrinter>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "base/text_encoding.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/pdf_text.h"
#include "tests/support/temporary_folder.h"

namespace tamrivo {
namespace {

using testing::EngineFixture;

PrintedForm receipt(const Text& remark = "续住两晚") {
    return {"收据",
            {{"单    号：", "20200217120000-00001000"},
             {"入住房址：", "幸福小区3号楼1203室"},
             {"姓    名：", "张三"},
             {"实收金额：", "150元"},
             {"备    注：", remark}}};
}

// Characters whose ideograph the CJK fonts draw with the glyph of a Kangxi radical.
const Text kSharedGlyphs =
    "入住房址 幸福小区 实收金额 今日 一二三 金日月 人民币 门长马 鱼鸟风 飞页龙 黄麦齐 齿见贝车";

// The names of the fonts a PDF embeds, e.g. NotoSansCJKsc-Regular.
std::vector<std::string> embeddedFonts(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string pdf = bytes.str();
    const std::regex baseFont("/BaseFont /([A-Za-z0-9+_.-]+)");
    std::vector<std::string> names;
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), baseFont);
         it != std::sregex_iterator(); ++it) {
        names.push_back((*it)[1]);
    }
    return names;
}

class Printing : public EngineFixture {
protected:
    Text pdfPath(const std::string& name) { return utf8ToGbk(folder.file(name)); }

    // The PDF reads back as exactly the characters drawn, in a face of simplified forms.
    void expectTextAndFace(const std::string& file) {
        const testing::PdfText pdf = testing::readPdf(file);
        ASSERT_TRUE(pdf.read) << pdf.text;
        // Without the spaces and line ends, as a long value wraps anywhere.
        const auto squeezed = [](std::string text) {
            std::erase_if(text, [](char c) { return c == ' ' || c == '\n'; });
            return text;
        };
        EXPECT_NE(squeezed(pdf.text).find(squeezed(gbkToUtf8(kSharedGlyphs))), std::string::npos)
            << pdf.text;
        // UTF-8 of U+2E80 to U+2FDF, the radicals: none may stand in for an ideograph.
        EXPECT_FALSE(std::regex_search(pdf.text, std::regex("\xE2[\xBA-\xBF]"))) << pdf.text;
        const std::vector<std::string> fonts = embeddedFonts(file);
        ASSERT_FALSE(fonts.empty());
        for (const std::string& font : fonts) {
            EXPECT_FALSE(std::regex_search(font, std::regex("CJK(hk|tc|jp|kr)", std::regex::icase)))
                << font;
        }
    }

    testing::TemporaryFolder folder;
};

TEST_F(Printing, APdfHoldsTheTitleAndEveryLineInChineseOnOnePage) {
    const std::string file = folder.file(gbkToUtf8("收据.pdf"));
    ASSERT_TRUE(services.saveFormAsPdf(receipt(), utf8ToGbk(file)));
    const testing::PdfText pdf = testing::readPdf(file);
    ASSERT_TRUE(pdf.read) << pdf.text;
    EXPECT_EQ(pdf.pages, 1);
    for (const Text& expected :
         {Text("收据"), Text("20200217120000-00001000"), Text("幸福小区3号楼1203室"), Text("张三"),
          Text("150元"), Text("续住两晚"), Text("实收金额")}) {
        EXPECT_NE(pdf.text.find(gbkToUtf8(expected)), std::string::npos)
            << gbkToUtf8(expected) << "\n"
            << pdf.text;
    }
}

TEST_F(Printing, ALongRemarkStillFitsOnePage) {
    Text remark;
    for (int i = 0; i < 2000; ++i) {
        remark += i % 50 == 49 ? "\r\n" : "房";
    }
    const std::string file = folder.file("long.pdf");
    ASSERT_TRUE(services.saveFormAsPdf(receipt(remark), utf8ToGbk(file)));
    const testing::PdfText pdf = testing::readPdf(file);
    EXPECT_EQ(pdf.pages, 1);
    EXPECT_NE(pdf.text.find("150"), std::string::npos);
}

TEST_F(Printing, AFileThatCannotBeWrittenFails) {
    EXPECT_FALSE(services.saveFormAsPdf(receipt(), pdfPath("no-such-folder/收据.pdf")));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "no-such-folder"));
}

TEST_F(Printing, ASavedPdfReplacesTheFileChosenWholeAndLeavesNothingBeside) {
    const std::string file = folder.file("old.pdf");
    ASSERT_TRUE(services.saveFormAsPdf(receipt("第一张"), utf8ToGbk(file)));
    ASSERT_TRUE(services.saveFormAsPdf(receipt("第二张"), utf8ToGbk(file)));
    EXPECT_NE(testing::readPdf(file).text.find(gbkToUtf8("第二张")), std::string::npos);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST_F(Printing, PrintingGoesToThePrinterTheDialogChoseOnAnA5Page) {
    const std::string file = folder.file("printed.pdf");
    QPageSize pageSize;
    services.setPrintDialogPresenter([&](QPrinter& printer) {
        pageSize = printer.pageLayout().pageSize();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(file));
        return true;
    });
    EXPECT_EQ(services.printForm(0, receipt()), PrintOutcome::Printed);
    EXPECT_EQ(pageSize.id(), QPageSize::A5);
    const testing::PdfText pdf = testing::readPdf(file);
    EXPECT_EQ(pdf.pages, 1);
    EXPECT_NE(pdf.text.find("20200217120000-00001000"), std::string::npos);

    services.setPrintDialogPresenter([](QPrinter&) { return false; });
    EXPECT_EQ(services.printForm(0, receipt()), PrintOutcome::Cancelled);
}

// A PDF printed to, a saved receipt and a chart's PNG are landlord's files: a link planted at
// the name chosen is replaced, never written through, and none is executable.
TEST_F(Printing, PdfsAndChartsNeverWriteThroughALinkAndAreNotExecutable) {
    namespace fs = std::filesystem;
    const fs::path records = folder.path() / "Data.db";
    const auto plant = [&](const std::string& name) {
        const std::string file = folder.file(name);
        fs::create_symlink(records, file);
        return file;
    };
    { std::ofstream(records) << "the records"; }
    fs::permissions(records, fs::perms(0600));

    const std::string printed = plant("printed.pdf");
    services.setPrintDialogPresenter([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(printed));
        return true;
    });
    EXPECT_EQ(services.printForm(0, receipt()), PrintOutcome::Printed);
    EXPECT_EQ(services.printReport(0, PrintedReport{"报表", {}}), PrintOutcome::Printed);
    const std::string saved = plant("saved.pdf");
    EXPECT_TRUE(services.saveFormAsPdf(receipt(), utf8ToGbk(saved)));

    const mode_t mask = ::umask(027);
    const std::string fresh = folder.file("fresh.pdf");
    EXPECT_TRUE(services.saveFormAsPdf(receipt(), utf8ToGbk(fresh)));
    ::umask(mask);

    std::ifstream in(records);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the records");
    EXPECT_EQ(fs::status(records).permissions(), fs::perms(0600));
    for (const std::string& file : {printed, saved}) {
        EXPECT_FALSE(fs::is_symlink(file)) << file;
        EXPECT_EQ(fs::status(file).permissions() & fs::perms(0111), fs::perms::none) << file;
    }
    EXPECT_EQ(fs::status(fresh).permissions(), fs::perms(0640));
}

TEST_F(Printing, EveryPdfReadsBackAsTheCharactersDrawnInASimplifiedFace) {
    const std::string saved = folder.file("saved.pdf");
    ASSERT_TRUE(services.saveFormAsPdf(receipt(kSharedGlyphs), utf8ToGbk(saved)));
    expectTextAndFace(saved);

    const std::string printed = folder.file("printed.pdf");
    services.setPrintDialogPresenter([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(printed));
        return true;
    });
    ASSERT_EQ(services.printForm(0, receipt(kSharedGlyphs)), PrintOutcome::Printed);
    expectTextAndFace(printed);

    const PrintedReport report{"数据统计 " + kSharedGlyphs,
                               {{.table = {{"房间", "收入"}, {kSharedGlyphs, "1"}}, .chart = {}}}};
    ASSERT_EQ(services.printReport(0, report), PrintOutcome::Printed);
    expectTextAndFace(printed);
}

// A title wider than the page at its own size is set smaller, never cut at its ends.
TEST_F(Printing, AReportsLongTitleFitsThePage) {
    const std::string printed = folder.file("report.pdf");
    services.setPrintDialogPresenter([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(printed));
        return true;
    });
    const Text title = "数据统计：2024-03-01 至 2024-03-31（自定义期间，共三十一天）对比上期";
    const PrintedReport report{title,
                               {{.table = {{"房间", "收入"}, {"一号房", "1"}}, .chart = {}}}};
    ASSERT_EQ(services.printReport(0, report), PrintOutcome::Printed);
    const testing::PdfText pdf = testing::readPdf(printed);
    EXPECT_NE(pdf.text.find(gbkToUtf8(title)), std::string::npos) << pdf.text;
}

TEST_F(Printing, TheSaveDialogAnswersWithThePathChosenOrNothing) {
    SaveDialogRequest asked;
    services.setSaveDialogPresenter([&](const SaveDialogRequest& request) {
        asked = request;
        return Text("/tmp/选的.csv");
    });
    EXPECT_TEXT_EQ(services.askSaveFileName(0, "导出", "搜索结果.csv", "CSV 文件 (*.csv)"),
                   "/tmp/选的.csv");
    EXPECT_TEXT_EQ(asked.suggestedName, "搜索结果.csv");
    EXPECT_TEXT_EQ(asked.filter, "CSV 文件 (*.csv)");
    services.setSaveDialogPresenter([](const SaveDialogRequest&) { return Text(); });
    EXPECT_TEXT_EQ(services.askSaveFileName(0, "导出", "搜索结果.csv", "CSV 文件 (*.csv)"), "");
}

}  // namespace
}  // namespace tamrivo
