#include "clsFolder.h"

#include "forms/folder_batch/frmFolderBatch.h"
#include "forms/folder_docket/frmFolderDocket.h"
#include "forms/folder_edit/frmFolderEdit.h"
#include "forms/folder_locate/frmFolderLocate.h"
#include "shared/modFormFunctions.h"

clsFolder::clsFolder()
{
    // Data errors show up in message boxes of the component's own.
    modFormFunctions::InstallDataErrorPresenter();
}

void clsFolder::Edit(qint16 PrmYer, const QString &PrmTyp, qint32 PrmSeq, const QString &PrmUsr)
{
    auto *editor = new frmFolderEdit;
    editor->SetCaseYear(PrmYer);
    editor->SetCaseType(PrmTyp);
    editor->SetCaseSequence(PrmSeq);
    editor->SetUserName(PrmUsr);
    editor->SetParentHandle(m_parentHandle); // loads the window
    editor->exec();
    if (editor->IsUnloaded()) {
        delete editor;
        return;
    }
    // It hid itself after a data error and closes itself a moment later; then it goes.
    editor->setAttribute(Qt::WA_DeleteOnClose);
}

void clsFolder::UpdateBatch(const QString &PrmUsr)
{
    frmFolderDocket docket;
    docket.SetUserName(PrmUsr);
    docket.Load();
    docket.exec();
}

void clsFolder::EditBatch(const QString &PrmUsr)
{
    // Modeless and ownerless: the window lives until the clerk closes it, beside any others.
    auto *batch = new frmFolderBatch;
    batch->setAttribute(Qt::WA_DeleteOnClose);
    batch->SetUserName(PrmUsr);
    batch->Load();
    batch->show();
}

void clsFolder::Locate(const QString &PrmUsr)
{
    auto *locator = new frmFolderLocate;
    locator->setAttribute(Qt::WA_DeleteOnClose);
    // A copy of this class: the locator may outlive the host's instance, and its editor reports
    // saves to the handle the host had set.
    locator->SetEditor([folder = *this, PrmUsr](const CaseKey &key) mutable {
        folder.Edit(key.year, key.type, key.sequence, PrmUsr);
    });
    locator->Load();
    locator->show();
}
