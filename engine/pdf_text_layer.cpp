#include "engine/pdf_text_layer.h"

#include <QFile>
#include <QFont>
#include <QHash>
#include <QList>
#include <QRawFont>

#include <utility>

#include "engine/chinese_font.h"

namespace tamrivo {
namespace {

constexpr char16_t kFirstRadical = 0x2E80;
constexpr char16_t kLastRadical = 0x2FDF;

// The radicals the printing face draws with an ideograph's glyph, and that ideograph: most
// radicals of the supplement (⺠ for 民, ⻔ for 门) have no compatibility form to go by.
QHash<char16_t, char16_t> radicalsSharingGlyphs() {
    const QRawFont font = QRawFont::fromFont(QFont(chineseFamily()));
    QString ideographs;
    for (const auto& [first, last] : {std::pair<char16_t, char16_t>{0x3400, 0x4DBF},
                                      std::pair<char16_t, char16_t>{0x4E00, 0x9FFF}}) {
        for (char16_t code = first; code != last + 1; ++code) {
            ideographs.append(QChar(code));
        }
    }
    QHash<quint32, char16_t> ideographOfGlyph;
    const QList<quint32> glyphs = font.glyphIndexesForString(ideographs);
    for (qsizetype i = 0; i < glyphs.size() && i < ideographs.size(); ++i) {
        if (glyphs[i] != 0 && !ideographOfGlyph.contains(glyphs[i])) {
            ideographOfGlyph.insert(glyphs[i], ideographs[i].unicode());
        }
    }
    QHash<char16_t, char16_t> shared;
    for (char16_t radical = kFirstRadical; radical <= kLastRadical; ++radical) {
        const QList<quint32> glyph = font.glyphIndexesForString(QString(QChar(radical)));
        if (!glyph.isEmpty() && ideographOfGlyph.contains(glyph.front())) {
            shared.insert(radical, ideographOfGlyph.value(glyph.front()));
        }
    }
    return shared;
}

// The ideograph a CJK radical stands for: the one sharing its glyph in the printing face, or
// its compatibility form; any other code is itself.
char16_t ideographOf(char16_t code) {
    if (code < kFirstRadical || code > kLastRadical) {
        return code;
    }
    static const QHash<char16_t, char16_t> shared = radicalsSharingGlyphs();
    if (const auto found = shared.constFind(code); found != shared.constEnd()) {
        return found.value();
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
