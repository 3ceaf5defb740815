#pragma once
// What a PDF file says, as Debian's pdftotext reads it.

#include <string>

#include "tests/support/run_command.h"

namespace tamrivo::testing {

struct PdfText {
    bool read = false;
    std::string text;  // UTF-8
    int pages = 0;
};

inline PdfText readPdf(const std::string& file) {
    auto [status, output] =
        runCommand(std::string(TAMRIVO_PDFTOTEXT_PROGRAM) + " -enc UTF-8 '" + file + "' -");
    PdfText pdf{status == 0, std::move(output), 0};
    for (const char c : pdf.text) {
        pdf.pages += c == '\f' ? 1 : 0;  // pdftotext ends every page with a form feed
    }
    return pdf;
}

}  // namespace tamrivo::testing
