#include "TypingLimit.h"

#include <QLineEdit>

TypingLimit::TypingLimit(QLineEdit* edit, int limit) : QValidator(edit), edit(edit), limit(limit)
{
    // The validator sees the edited text only; the length shown before the edit comes from here.
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { shownLength = text.size(); });
}

QValidator::State TypingLimit::validate(QString& input, int& pos) const
{
    // The program's setText starts a new undo history; every edit of the user has a step to undo.
    if (!edit->isUndoAvailable())
        return Acceptable;
    const qsizetype allowed = qMax<qsizetype>(limit, shownLength);
    if (input.size() <= allowed)
        return Acceptable;
    // The inserted characters end at the caret; those beyond the limit are dropped.
    const auto excess = static_cast<int>(input.size() - allowed);
    if (pos < excess)
        return Invalid;
    input.remove(pos - excess, excess);
    pos -= excess;
    return Acceptable;
}
