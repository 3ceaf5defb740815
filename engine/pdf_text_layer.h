#pragma once

#include <QByteArray>
#include <QString>

namespace tamrivo {

// Qt's PDF writer gives each embedded glyph, in the text layer (the font's ToUnicode map), the
// lowest character the font draws with it. Chinese fonts such as Noto Sans CJK draw a radical
// (U+2E80 to U+2FDF) and its ideograph with one glyph, so 入, 小, 民 and 门 copy out as ⼊, ⼩,
// ⺠ and ⻔. This maps such radicals back to their ideographs (the one sharing the glyph in the
// printing face, or the compatibility form), in place: every hexadecimal code keeps its
// length, so the file's cross-reference offsets stay right. The rest is untouched.
QByteArray mendTextLayer(QByteArray pdf);

// mendTextLayer on a PDF file, rewritten in place only when something changed; false when it
// cannot be read or written.
bool mendTextLayerOfFile(const QString& path);

}  // namespace tamrivo
