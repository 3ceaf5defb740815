#include "engine/chinese_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace tamrivo {

ChineseTexts::ChineseTexts() {
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    translated_ = translator_.load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                  QCoreApplication::installTranslator(&translator_);
}

ChineseTexts::~ChineseTexts() {
    if (translated_) {
        QCoreApplication::removeTranslator(&translator_);
    }
}

}  // namespace tamrivo
