#include "documents/script_completion.h"

#include "script/keywords.h"
#include "script/member_name.h"

namespace vorpane {

namespace {

bool isWordPart(QChar c) { return (c.isLetterOrNumber() && c.unicode() < 128) || c == u'_'; }

// Where the word that ends at `end` starts.
qsizetype wordStart(const QString& text, qsizetype end)
{
    qsizetype i = end;
    while (i > 0 && isWordPart(text[i - 1]))
        --i;
    return i;
}

void sortWithoutCase(QStringList& words)
{
    words.removeDuplicates();
    std::sort(words.begin(), words.end(),
        [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
}

} // namespace

QString ScriptCompletion::currentWord(const QString& textBeforeCaret)
{
    return textBeforeCaret.mid(wordStart(textBeforeCaret, textBeforeCaret.size()));
}

const HostObjectInfo* ScriptCompletion::objectBefore(const QString& text, qsizetype dot) const
{
    qsizetype end = dot;
    while (end > 0 && text[end - 1] == u' ')
        --end;
    const QString name = text.mid(wordStart(text, end), end - wordStart(text, end));
    const HostObjectInfo* object = findHostObject(name.toStdString());
    if (!object || !(object->scopes & m_scopes))
        return nullptr;
    // A global's name is case-sensitive; a class is written as it pleases.
    if (!object->isClass && name != QString::fromStdString(object->name))
        return nullptr;
    return object;
}

QStringList ScriptCompletion::completions(const QString& textBeforeCaret) const
{
    const qsizetype start = wordStart(textBeforeCaret, textBeforeCaret.size());
    const QString prefix = textBeforeCaret.mid(start);
    if (!prefix.isEmpty() && prefix[0].isDigit())
        return {};
    QStringList words;
    auto offer = [&](const QString& word) {
        if (word.startsWith(prefix, Qt::CaseInsensitive))
            words << word;
    };
    qsizetype dot = start;
    while (dot > 0 && textBeforeCaret[dot - 1] == u' ')
        --dot;
    if (dot > 0 && textBeforeCaret[dot - 1] == u'.') {
        // After a dot only an object's members make sense; an unknown object offers nothing.
        const HostObjectInfo* object = objectBefore(textBeforeCaret, dot - 1);
        if (object) {
            for (const script::HostMember& member : object->members)
                offer(QString::fromStdString(member.name));
        }
    } else {
        for (const char* keyword : script::keywords())
            offer(QString::fromLatin1(keyword));
        for (const HostObjectInfo& object : hostObjects()) {
            if (object.scopes & m_scopes)
                offer(QString::fromStdString(object.name));
        }
    }
    sortWithoutCase(words);
    return words;
}

QString ScriptCompletion::callTip(const QString& textBeforeCaret) const
{
    // The innermost "(" not closed yet.
    int depth = 0;
    qsizetype open = textBeforeCaret.size();
    while (open > 0) {
        const QChar c = textBeforeCaret[--open];
        if (c == u')') {
            ++depth;
        } else if (c == u'(') {
            if (depth == 0)
                break;
            --depth;
        } else if (c == u';' || c == u'{' || c == u'}') {
            return {};
        }
        if (open == 0)
            return {};
    }
    qsizetype end = open;
    while (end > 0 && textBeforeCaret[end - 1] == u' ')
        --end;
    const qsizetype start = wordStart(textBeforeCaret, end);
    const QString name = textBeforeCaret.mid(start, end - start);
    if (name.isEmpty())
        return {};
    qsizetype dot = start;
    while (dot > 0 && textBeforeCaret[dot - 1] == u' ')
        --dot;
    if (dot > 0 && textBeforeCaret[dot - 1] == u'.') {
        const HostObjectInfo* object = objectBefore(textBeforeCaret, dot - 1);
        if (!object)
            return {};
        for (const script::HostMember& member : object->members) {
            if (member.kind == script::HostMemberKind::Function
                && script::sameName(member.name, name.toStdString()))
                return QStringLiteral("%1.%2(%3)")
                    .arg(QString::fromStdString(object->name), QString::fromStdString(member.name),
                        QString::fromStdString(member.parameters));
        }
        return {};
    }
    // «new Array(...)»
    const HostObjectInfo* object = findHostObject(name.toStdString());
    if (object && object->isClass && (object->scopes & m_scopes)
        && textBeforeCaret.left(start).trimmed().endsWith(QLatin1String("new")))
        return QStringLiteral("new %1(%2)")
            .arg(QString::fromStdString(object->name), QString::fromStdString(object->createParameters));
    return {};
}

} // namespace vorpane
