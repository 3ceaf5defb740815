#include "engine/chinese_font.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QRegularExpression>

#include <algorithm>

namespace tamrivo {
namespace {

// Lower is better. fontconfig lists the faces of one collection alphabetically, which puts
// Noto's Hong Kong face first: the name is what tells the regions apart.
int rank(const QString& family) {
    static const QRegularExpression otherRegion(
        QStringLiteral("(\\b(HK|TC|TW|JP|KR)\\b)|Japanese|Korean|Traditional"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression simplified(
        QStringLiteral("(\\b(SC|CN|GB)\\b)|Simplified|WenQuanYi|WQY"),
        QRegularExpression::CaseInsensitiveOption);
    int score = family.contains(otherRegion) ? 8 : family.contains(simplified) ? 0 : 4;
    score += family.contains(QStringLiteral("Mono"), Qt::CaseInsensitive) ? 2 : 0;
    score += family.contains(QStringLiteral("Serif"), Qt::CaseInsensitive) ? 1 : 0;
    return score;
}

}  // namespace

QString simplifiedChineseFamily(const QStringList& families) {
    // The first of the best, so the database's order decides between equals.
    const auto best =
        std::min_element(families.begin(), families.end(),
                         [](const QString& a, const QString& b) { return rank(a) < rank(b); });
    return best == families.end() ? QString() : *best;
}

QString chineseFamily() {
    const QString family =
        simplifiedChineseFamily(QFontDatabase::families(QFontDatabase::SimplifiedChinese));
    return family.isEmpty() ? QGuiApplication::font().family() : family;
}

}  // namespace tamrivo
