#include "LabelCases.h"

#include "util/modGetCaseStyle.h"

#include <algorithm>

bool LabelCases::Titled(const QList<CaseKey> &keys, QList<FolderLabel> *labels, QString *error)
{
    labels->clear();
    QString failure;
    for (const CaseKey &key : keys) {
        const auto listed = std::find_if(labels->cbegin(), labels->cend(), [&key](const FolderLabel &l) { return l.key == key; });
        if (listed != labels->cend())
            continue; // a pull list names a case once for each of its hearings
        QString plfNam, plfLtp, versus, defNam, defLtp, plfAty, defAty;
        qint16 plfLit = 0, defLit = 0;
        const QString style = modGetCaseStyle::GetCaseStyle(
            true, key.year, key.type, key.sequence, QString(), 0, plfNam, plfLtp, plfLit, versus, defNam, defLtp, defLit,
            plfAty, defAty, [&failure](qint32, const QString &description) { failure = description; });
        if (!failure.isEmpty()) {
            if (error)
                *error = failure;
            return false;
        }
        labels->append({key, style.trimmed()});
    }
    return true;
}
