#pragma once

class QLineEdit;
class QString;

// Puts a format token at the caret, or before the selection, whose characters stay behind it;
// the caret ends right after the token with nothing selected.
void insertToken(QLineEdit* edit, const QString& token);
