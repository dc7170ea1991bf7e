#pragma once

#include <QString>
#include <QtGlobal>

#if defined(ZORVAFOLDERS_LIBRARY)
#define ZORVAFOLDERS_EXPORT Q_DECL_EXPORT
#else
#define ZORVAFOLDERS_EXPORT Q_DECL_IMPORT
#endif

// The component's one public class. Each operation opens a window of its own: Edit and
// UpdateBatch return when their window has closed, EditBatch at once. The host must run a
// QApplication on the calling thread.
class ZORVAFOLDERS_EXPORT clsFolder
{
public:
    clsFolder();

    // The host's window handle; the editor tells the host about a save through it.
    qint32 ParentHandle() const { return m_parentHandle; }
    void SetParentHandle(qint32 handle) { m_parentHandle = handle; }

    // The folder loan editor for one case, as the user PrmUsr.
    void Edit(qint16 PrmYer, const QString &PrmTyp, qint32 PrmSeq, const QString &PrmUsr);
    // The docket window.
    void UpdateBatch(const QString &PrmUsr);
    // The batch window.
    void EditBatch(const QString &PrmUsr);
    // The folder locator, modeless: where folders are, a holder's folders, a docket's pull list,
    // the overdue list. It writes nothing; its Edit button opens the editor as Edit does.
    void Locate(const QString &PrmUsr);

private:
    qint32 m_parentHandle = 0;
};
