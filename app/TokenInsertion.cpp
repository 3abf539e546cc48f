#include "TokenInsertion.h"

#include <QLineEdit>

void insertToken(QLineEdit* edit, const QString& token)
{
    const int position = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    const QString text = edit->text();
    edit->setText(text.left(position) + token + text.mid(position));
    edit->setCursorPosition(position + token.size());
}
