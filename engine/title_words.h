#pragma once

#include <QString>
#include <QStyledItemDelegate>

namespace tamrivo {

// The title as the list shows it: a word joiner (U+2060, invisible) after every letter or
// digit followed by a Chinese character, and between the Chinese characters that go on
// from there, so a line breaks before "12号楼" or "1203室" and never inside them. Qt
// breaks between any two Chinese characters, which splits a room's number from its unit.
QString keepTitleWordsTogether(const QString& title);

// Paints the list's titles through keepTitleWordsTogether; the items keep their own text.
class TitleWordsDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace tamrivo
