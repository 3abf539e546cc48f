#pragma once

#include <QValidator>

class QLineEdit;

// The input limit of a field, for the user's edits only: typing stops at the limit and a paste or
// a drop is cut to what fits, while a longer text put in by the program is shown whole and can
// still be shortened.
class TypingLimit : public QValidator {
public:
    TypingLimit(QLineEdit* edit, int limit);

    State validate(QString& input, int& pos) const override;

private:
    QLineEdit* edit;
    int limit;
    qsizetype shownLength = 0;
};
