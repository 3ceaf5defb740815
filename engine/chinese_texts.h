#pragma once

#include <QTranslator>

namespace tamrivo {

// Makes every text Qt supplies Chinese, whatever the system's locale: calendars, standard
// buttons and menus, dates and numbers. While it lives, the default locale is Chinese
// (China) and Qt's own Chinese translations are installed, when the system has them.
class ChineseTexts {
public:
    ChineseTexts();
    ~ChineseTexts();
    ChineseTexts(const ChineseTexts&) = delete;
    ChineseTexts& operator=(const ChineseTexts&) = delete;

    // False when Qt's Chinese translations could not be found: its texts stay English.
    bool translated() const { return translated_; }

private:
    QTranslator translator_;
    bool translated_ = false;
};

}  // namespace tamrivo
