#include "engine/pdf_text_layer.h"

#include <QFile>
#include <QList>

namespace tamrivo {
namespace {

// The ideograph a CJK radical stands for (its compatibility form), or the code itself.
char16_t ideographOf(char16_t code) {
    const bool radical = code >= 0x2E80 && code <= 0x2FDF;
    if (!radical) {
        return code;
    }
    const QString normal = QString(QChar(code)).normalized(QString::NormalizationForm_KC);
    return normal.size() == 1 ? normal.front().unicode() : code;
}

// Rewrites the destination codes of one bfchar or bfrange line: those after the first
// `skip` codes (the glyphs). A range to consecutive characters (`<a> <b> <c>`, not an array)
// names only its first one, so it is mended only when it holds a single glyph.
void mendLine(QByteArray& line, int skip) {
    QList<qsizetype> codes;  // where each four-digit code's digits start
    for (qsizetype at = line.indexOf('<'); at >= 0; at = line.indexOf('<', at + 1)) {
        const qsizetype end = line.indexOf('>', at);
        if (end == at + 5) {
            codes.append(at + 1);
        }
    }
    const bool consecutive = !line.contains('[');
    if (codes.size() <= skip ||
        (skip == 2 && consecutive && line.mid(codes[0], 4) != line.mid(codes[1], 4))) {
        return;
    }
    for (qsizetype i = skip; i < codes.size(); ++i) {
        bool ok = false;
        const auto code = static_cast<char16_t>(line.mid(codes[i], 4).toUInt(&ok, 16));
        const char16_t mended = ideographOf(code);
        if (ok && mended != code) {
            line.replace(codes[i], 4,
                         QByteArray::number(mended, 16).toUpper().rightJustified(4, '0'));
        }
    }
}

// Mends the map between `begin` and its end, line by line.
void mendMap(QByteArray& pdf, qsizetype begin, qsizetype end) {
    int skip = 0;
    for (qsizetype at = begin; at < end;) {
        qsizetype lineEnd = pdf.indexOf('\n', at);
        lineEnd = lineEnd < 0 || lineEnd > end ? end : lineEnd;
        QByteArray line = pdf.mid(at, lineEnd - at);
        if (line.endsWith("beginbfchar")) {
            skip = 1;
        } else if (line.endsWith("beginbfrange")) {
            skip = 2;
        } else if (line.startsWith("end")) {
            skip = 0;
        } else if (skip > 0) {
            mendLine(line, skip);
            pdf.replace(at, line.size(), line);
        }
        at = lineEnd + 1;
    }
}

}  // namespace

QByteArray mendTextLayer(QByteArray pdf) {
    for (qsizetype begin = pdf.indexOf("begincmap"); begin >= 0;
         begin = pdf.indexOf("begincmap", begin + 1)) {
        const qsizetype end = pdf.indexOf("endcmap", begin);
        if (end < 0) {
            break;
        }
        mendMap(pdf, begin, end);
    }
    return pdf;
}

bool mendTextLayerOfFile(const QString& path) {
    // In place: the mended file has the same length, and the file stays the one its writer
    // made (a file beside a target keeps its name and descriptor).
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        return false;
    }
    const QByteArray written = file.readAll();
    const QByteArray mended = mendTextLayer(written);
    if (mended == written) {
        return true;
    }
    return file.seek(0) && file.write(mended) == mended.size() && file.flush();
}

}  // namespace tamrivo
