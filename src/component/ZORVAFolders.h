#pragma once

/* Plain C entry points, for hosts written in other languages. Texts are UTF-8. The calls
   must come from the thread that runs the host's Qt application. */

#include <stdint.h>

#include "clsFolder.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct zorva_folder zorva_folder;

ZORVAFOLDERS_EXPORT zorva_folder *zorva_folder_create(void);
ZORVAFOLDERS_EXPORT void zorva_folder_destroy(zorva_folder *folder);
ZORVAFOLDERS_EXPORT int32_t zorva_folder_parent_handle(const zorva_folder *folder);
ZORVAFOLDERS_EXPORT void zorva_folder_set_parent_handle(zorva_folder *folder, int32_t handle);
ZORVAFOLDERS_EXPORT void zorva_folder_edit(zorva_folder *folder, int16_t year, const char *type, int32_t sequence,
                                           const char *user);
ZORVAFOLDERS_EXPORT void zorva_folder_update_batch(zorva_folder *folder, const char *user);
ZORVAFOLDERS_EXPORT void zorva_folder_edit_batch(zorva_folder *folder, const char *user);
ZORVAFOLDERS_EXPORT void zorva_folder_locate(zorva_folder *folder, const char *user);

#ifdef __cplusplus
}
#endif
