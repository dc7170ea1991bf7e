#include "ZORVAFolders.h"

struct zorva_folder
{
    clsFolder folder;
};

extern "C" {

zorva_folder *zorva_folder_create(void) { return new zorva_folder; }

void zorva_folder_destroy(zorva_folder *folder) { delete folder; }

int32_t zorva_folder_parent_handle(const zorva_folder *folder) { return folder ? folder->folder.ParentHandle() : 0; }

void zorva_folder_set_parent_handle(zorva_folder *folder, int32_t handle)
{
    if (folder)
        folder->folder.SetParentHandle(handle);
}

void zorva_folder_edit(zorva_folder *folder, int16_t year, const char *type, int32_t sequence, const char *user)
{
    if (folder)
        folder->folder.Edit(year, QString::fromUtf8(type), sequence, QString::fromUtf8(user));
}

void zorva_folder_update_batch(zorva_folder *folder, const char *user)
{
    if (folder)
        folder->folder.UpdateBatch(QString::fromUtf8(user));
}

void zorva_folder_edit_batch(zorva_folder *folder, const char *user)
{
    if (folder)
        folder->folder.EditBatch(QString::fromUtf8(user));
}

void zorva_folder_locate(zorva_folder *folder, const char *user)
{
    if (folder)
        folder->folder.Locate(QString::fromUtf8(user));
}
}
