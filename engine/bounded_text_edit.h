#pragma once

#include <QPlainTextEdit>

class QKeyEvent;
class QInputMethodEvent;
class QMimeData;

namespace tamrivo {

// A multi-line box that takes at most limit characters from the person: typing, pasting,
// dropping and input methods stop there, so the box always shows all that will be saved.
// A line break counts as one character. What the program writes is never cut.
class BoundedTextEdit : public QPlainTextEdit {
public:
    BoundedTextEdit(int limit, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // How many more characters fit; what is selected is replaced by what comes in.
    int room() const;

    int limit_;
};

// As much of the start of text as fits in room characters, never half a surrogate pair.
QString fitting(const QString& text, int room);

}  // namespace tamrivo
