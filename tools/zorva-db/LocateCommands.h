#pragma once

#include "forms/folder_docket/DocketSelection.h"

#include <QStringList>

class QCommandLineParser;
class QTextStream;

// The locator's answers on the command line: where CASE, holder NAME, pull-list --date ...,
// overdue --days N; each as lines to read or, with --csv, as RFC 4180 CSV.
namespace LocateCommands {

inline constexpr char Usage[] = R"(  where CASE [--db URL] [--csv] [--all]
                                    where the case's folder is, and its custody history:
                                    the latest 50 entries, or every one with --all
  holder NAME [--db URL] [--csv]    every folder out to NAME, oldest first
  pull-list --date yyyy-MM-dd [--begin hhmm --end hhmm] [--judge J] [--room R] [--branch B]
            [--db URL] [--csv]      the docket's hearings and where each folder is
  overdue [--days N] [--db URL] [--csv] [--all]
                                    folders out longer than N days (30), by holder: the 500
                                    out longest, or every one with --all
)";

// The widest a cell is printed as text; a longer one is cut, and the output says so.
inline constexpr int CellWidth = 60;

bool Handles(const QString &command);
void AddOptions(QCommandLineParser &parser);
// Whether the option (by its long name) is one of these commands' own, and the command takes it.
bool Owns(const QString &option);
bool Takes(const QString &command, const QString &option);
// The pull list's selection from --date, --begin, --end, --judge, --room and --branch: 0, or 2
// with the mistake told on err.
int PullSelection(const QCommandLineParser &parser, QTextStream &err, DocketSelection *out);
// Exit code: 0 answered, 1 the database failed, 2 a usage mistake (told on err).
int Run(const QString &command, const QStringList &args, const QCommandLineParser &parser, QTextStream &out,
        QTextStream &err);

} // namespace LocateCommands
