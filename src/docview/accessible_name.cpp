#include "docview/accessible_name.h"

#include <QLabel>

namespace vorpane {

QString withoutMnemonic(const QString& text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&'))
                plain += text[++i];
            continue;
        }
        plain += text[i];
    }
    return plain;
}

void nameAfterLabel(QWidget* control, QLabel* label)
{
    label->setBuddy(control);
    control->setAccessibleName(withoutMnemonic(label->text()));
}

} // namespace vorpane
