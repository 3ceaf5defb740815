#include "engine/title_words.h"

namespace tamrivo {
namespace {

constexpr QChar kWordJoiner(0x2060);

bool isChinese(QChar character) {
    return character.script() == QChar::Script_Han;
}

}  // namespace

QString keepTitleWordsTogether(const QString& title) {
    QString shown;
    shown.reserve(title.size() * 2);
    bool inWord = false;  // after a letter or digit, and the Chinese characters going on from it
    for (const QChar character : title) {
        if (isChinese(character)) {
            if (inWord) {
                shown += kWordJoiner;
            }
        } else {
            inWord = character.isLetterOrNumber();
        }
        shown += character;
    }
    return shown;
}

void TitleWordsDelegate::initStyleOption(QStyleOptionViewItem* option,
                                         const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = keepTitleWordsTogether(option->text);
}

}  // namespace tamrivo
