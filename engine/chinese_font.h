#pragma once

#include <QString>
#include <QStringList>

namespace tamrivo {

// Of the families that have Chinese characters, in the font database's order, the one that
// draws the simplified forms a mainland reader expects: a face named for simplified Chinese
// (Noto Sans CJK SC, WenQuanYi) before one named for Hong Kong, Taiwan, Japan or Korea, whose
// glyphs differ; a plain face before a monospaced or a serif one. Empty when there is none.
QString simplifiedChineseFamily(const QStringList& families);

// The family printed forms and reports use: the simplified face of the system's fonts, or the
// program's own family when the system knows no Chinese font at all.
QString chineseFamily();

}  // namespace tamrivo
