#pragma once

#include <QStringList>
#include <memory>

class QCommandLineParser;
class QCoreApplication;
class QTextStream;

// zorva-db labels: the folder labels of the cases named, of a docket's pull list or of one
// holder's folders, written to a PDF for the file room to print.
namespace LabelsCommand {

inline constexpr char Usage[] = R"(  labels CASE... | --pull-list --date yyyy-MM-dd [--begin, --end, --judge, --room, --branch]
         | --holder NAME  [--layout sheet|roll] [--start N] [--dpi N] [--db URL] --pdf FILE
                                    one label a case: a sheet of 30 from label N (1), or a
                                    roll; the PDF's dots are --dpi (sheet 300, roll 203)
)";

// Painting text needs a GUI application; labels get one on the offscreen platform, so that they
// are made without a display and open no window. Every other command keeps a core application.
std::unique_ptr<QCoreApplication> Application(int &argc, char **argv);

bool Handles(const QString &command);
void AddOptions(QCommandLineParser &parser);
bool Owns(const QString &option);
// Whether labels takes the option (its own, --db, or the pull list's with --pull-list).
bool Takes(const QString &command, const QString &option);
// Exit code: 0 written, 1 the database or the file failed, 2 a usage mistake (told on err).
int Run(const QStringList &args, const QCommandLineParser &parser, QTextStream &out, QTextStream &err);

} // namespace LabelsCommand
