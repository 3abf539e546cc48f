#include "TypingLimit.h"

#include "TagFieldTexts.h"

#include <QLineEdit>

TypingLimit::TypingLimit(QLineEdit* edit, int limit) : QValidator(edit), edit(edit), limit(limit)
{
    // The validator sees the edited text only; the length shown before the edit comes from here.
    connect(edit, &QLineEdit::textChanged, this,
            [this](const QString& text) { shownLength = characterCount(text); });
}

QValidator::State TypingLimit::validate(QString& input, int& pos) const
{
    // The program's setText starts a new undo history; every edit of the user has a step to undo.
    if (!edit->isUndoAvailable())
        return Acceptable;
    const qsizetype allowed = qMax<qsizetype>(limit, shownLength);
    if (characterCount(input) <= allowed)
        return Acceptable;
    // Composed as the tag stores it, a decomposed paste may fit after all. The inserted characters
    // end at the caret; those beyond the limit are dropped.
    const QString typed = input.left(pos).normalized(QString::NormalizationForm_C);
    const QString after = input.mid(pos).normalized(QString::NormalizationForm_C);
    const qsizetype excess = characterCount(typed) + characterCount(after) - allowed;
    const qsizetype kept = characterCount(typed) - qMax<qsizetype>(0, excess);
    if (kept < 0)
        return Invalid;
    const QString before = leftCharacters(typed, kept);
    input = before + after;
    pos = static_cast<int>(before.size());
    return Acceptable;
}
