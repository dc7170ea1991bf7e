#include "LoadJournal.h"

namespace LoadJournal {

namespace {
// Fields are tab-separated and lists ';'-separated: neither may occur inside a value.
QString Flat(QString text)
{
    return text.replace(QLatin1Char('\t'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '))
        .replace(QLatin1Char(';'), QLatin1Char(','));
}
constexpr int Fields = 13;
} // namespace

QString Line(const Action &a)
{
    QStringList rows, lookups, boxes;
    for (const Row &r : a.rows)
        rows << r.key + QLatin1Char('=') + Flat(r.holder) + QLatin1Char('=') +
                    (r.changed ? QLatin1Char('1') : QLatin1Char('0'));
    for (double ms : a.lookups)
        lookups << QString::number(ms, 'f', 3);
    for (const QString &box : a.boxes)
        boxes << Flat(box);
    return QStringList{a.kind,
                       a.outcome,
                       QString::number(a.ms, 'f', 3),
                       a.key,
                       a.shownOnLoan ? QStringLiteral("1") : QStringLiteral("0"),
                       Flat(a.shownParty),
                       Flat(a.shownUser),
                       Flat(a.party),
                       QString::number(a.count),
                       rows.join(QLatin1Char(';')),
                       lookups.join(QLatin1Char(';')),
                       boxes.join(QLatin1Char(';')),
                       QString::number(a.at, 'f', 0)}
        .join(QLatin1Char('\t'));
}

bool Parse(const QString &line, Action *a)
{
    const QStringList f = line.split(QLatin1Char('\t'));
    if (f.size() != Fields)
        return false;
    *a = {};
    a->kind = f[0];
    a->outcome = f[1];
    a->ms = f[2].toDouble();
    a->key = f[3];
    a->shownOnLoan = f[4] == QLatin1String("1");
    a->shownParty = f[5];
    a->shownUser = f[6];
    a->party = f[7];
    a->count = f[8].toInt();
    for (const QString &r : f[9].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList parts = r.split(QLatin1Char('='));
        if (parts.size() != 3)
            return false;
        a->rows.append({parts[0], parts[1], parts[2] == QLatin1String("1")});
    }
    for (const QString &ms : f[10].split(QLatin1Char(';'), Qt::SkipEmptyParts))
        a->lookups << ms.toDouble();
    a->boxes = f[11].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    a->at = f[12].toDouble();
    return true;
}

} // namespace LoadJournal

namespace LoadJournal {

QString Folder::Key() const
{
    return QStringLiteral("%1 %2 %3").arg(year).arg(type).arg(sequence);
}

QList<Folder> HotFolders(int n)
{
    // As BenchCourt::Seed makes them.
    const char *types[] = {"CF", "CA", "CM", "SC"};
    const char *judges[] = {"SMI", "JON", "GAR", "ALV"};
    QList<Folder> folders;
    for (int i = 0; i < n; ++i)
        folders.append({2026, QLatin1String(types[i % 4]), 100000 + i, QLatin1String(judges[i % 4])});
    return folders;
}

} // namespace LoadJournal
