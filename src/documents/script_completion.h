#pragma once
// What the script editor offers while typing: the words that may complete the one before the
// caret (keywords and host objects, or after "object." that object's members), and the call tip
// of the call the caret is inside. Everything comes from the keyword table and the host objects'
// own member lists.

#include "sheet/host_members.h"

#include <QString>
#include <QStringList>

namespace vorpane {

class ScriptCompletion {
public:
    explicit ScriptCompletion(unsigned scopes = ScopeEveryScript)
        : m_scopes(scopes)
    {
    }

    // The word being typed at the end of `textBeforeCaret` (possibly empty).
    static QString currentWord(const QString& textBeforeCaret);
    // The words that complete it, sorted without regard to case; empty when none fits.
    QStringList completions(const QString& textBeforeCaret) const;
    // "sheet.drawline(x1, y1, x2, y2)" for the innermost call still open at the caret; empty
    // when the caret is in no call of a known member.
    QString callTip(const QString& textBeforeCaret) const;

private:
    const HostObjectInfo* objectBefore(const QString& text, qsizetype dot) const;

    unsigned m_scopes;
};

} // namespace vorpane
