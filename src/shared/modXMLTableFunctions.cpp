#include "modXMLTableFunctions.h"

#include <QLoggingCategory>

#include "shared/RowsetReader.h"
#include "shared/controls/Combo.h"
#include "shared/controls/FlexGrid.h"
#include "shared/modFormFunctions.h"
#include "shared/modXMLTableFunctionsPaths.h"

#include <algorithm>

namespace modXMLTableFunctions {
namespace {

Q_LOGGING_CATEGORY(lcTables, "zorva.tables")

struct SortKey
{
    QString field;
    bool descending = false;
};

bool HasField(const Rowset &rowset, const QString &name)
{
    return std::any_of(rowset.fields.cbegin(), rowset.fields.cend(),
                       [&](const QString &field) { return field.compare(name, Qt::CaseInsensitive) == 0; });
}

// Sort keys; *missing gets a sort field the table does not have.
QList<SortKey> ParseSortOrder(const Rowset &rowset, const QString &sortOrder, QString *missing)
{
    QList<SortKey> keys;
    for (const QString &part : sortOrder.split(QLatin1Char(','))) {
        QStringList words = part.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        SortKey key;
        if (words.size() > 1 && words.last().compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0) {
            key.descending = true;
            words.removeLast();
        } else if (words.size() > 1 && words.last().compare(QLatin1String("ASC"), Qt::CaseInsensitive) == 0) {
            words.removeLast();
        }
        const QString name = words.join(QLatin1Char(' '));
        const auto found =
            std::find_if(rowset.fields.cbegin(), rowset.fields.cend(),
                         [&](const QString &field) { return field.compare(name, Qt::CaseInsensitive) == 0; });
        if (found == rowset.fields.cend()) {
            *missing = name;
            return {};
        }
        key.field = *found;
        keys.append(key);
    }
    return keys;
}

// A missing value sorts first; numbers compare as numbers, other text without regard to case.
int CompareValues(const QHash<QString, QString> &a, const QHash<QString, QString> &b, const QString &field)
{
    const bool hasA = a.contains(field);
    const bool hasB = b.contains(field);
    if (!hasA || !hasB)
        return int(hasA) - int(hasB);
    const QString &x = a[field];
    const QString &y = b[field];
    bool numberX = false;
    bool numberY = false;
    const double dx = x.toDouble(&numberX);
    const double dy = y.toDouble(&numberY);
    if (numberX && numberY)
        return dx < dy ? -1 : (dx > dy ? 1 : 0);
    return x.compare(y, Qt::CaseInsensitive);
}

// Sorts the rows; leaves them as they are when *missing gets a field the table lacks.
void Sort(Rowset &rowset, const QString &sortOrder, QString *missing)
{
    const QList<SortKey> keys = ParseSortOrder(rowset, sortOrder, missing);
    if (keys.isEmpty())
        return;
    std::stable_sort(rowset.rows.begin(), rowset.rows.end(), [&](const auto &a, const auto &b) {
        for (const SortKey &key : keys) {
            const int order = CompareValues(a, b, key.field);
            if (order != 0)
                return key.descending ? order > 0 : order < 0;
        }
        return false;
    });
}

} // namespace

QString OpenFailureMessage(const QString &fileName, const QString &reason)
{
    return QStringLiteral("There was a problem opening file:  ") + fileName + QStringLiteral("\r\n") +
           QStringLiteral("Please contact technical support.") + QStringLiteral("\r\n\r\nReason: ") + reason;
}

QString XMLTableComboList(const QString &fileName, const QString &fieldList, const QString &keyField,
                          const QString &sortOrder)
{
    QString error;
    std::optional<Rowset> rowset = RowsetReader::ReadFile(fileName, &error);
    if (!rowset) {
        modFormFunctions::MsgBox(OpenFailureMessage(fileName, error));
        return QStringLiteral("|");
    }
    // A field the table does not have is a failure the window hears of, not a list of blanks.
    QString missing;
    for (const QString &name : fieldList.split(QLatin1Char(',')) + QStringList{keyField}) {
        if (missing.isEmpty() && !name.trimmed().isEmpty() && name.trimmed() != QLatin1String("*") &&
            !HasField(*rowset, name.trimmed()))
            missing = name.trimmed();
    }
    if (missing.isEmpty() && !sortOrder.isEmpty())
        Sort(*rowset, sortOrder, &missing);
    if (!missing.isEmpty()) {
        qCWarning(lcTables, "Reference table %s has no field %s", qPrintable(fileName), qPrintable(missing));
        modFormFunctions::MsgBox(OpenFailureMessage(fileName, QStringLiteral("the table has no field \"%1\"").arg(missing)));
        return QStringLiteral("|");
    }
    return QLatin1Char('|') + FlexGrid::BuildComboList(*rowset, fieldList, keyField);
}

void LoadList(Combo *combo, const QString &tableFile, const QString &firstRow)
{
    const QString path = ClientTablesFolder() + tableFile;
    QString reason;
    if (!combo->LoadFromFile(path, &reason))
        modFormFunctions::MsgBox(OpenFailureMessage(path, reason));
    combo->InsertRow(firstRow, 1);
}

} // namespace modXMLTableFunctions
