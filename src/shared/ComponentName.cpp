#include "ComponentName.h"

#include "SettingsStore.h"

#include <QCoreApplication>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace ComponentName {

QString ModuleBaseName()
{
    // Asked once: the module a running process has loaded does not change.
    static const QString name = [] {
        QString path;
#ifdef Q_OS_WIN
        HMODULE module = nullptr;
        wchar_t buffer[MAX_PATH];
        if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               reinterpret_cast<LPCWSTR>(&ModuleBaseName), &module) &&
            GetModuleFileNameW(module, buffer, MAX_PATH) > 0)
            path = QString::fromWCharArray(buffer);
#else
        Dl_info info{};
        if (dladdr(reinterpret_cast<void *>(&ModuleBaseName), &info) && info.dli_fname)
            path = QString::fromLocal8Bit(info.dli_fname);
#endif
        if (path.isEmpty())
            path = QCoreApplication::applicationFilePath();
        // A shared library's name has no "lib" prefix here: it is built as ZORVAFolders.so.
        return QFileInfo(path).completeBaseName();
    }();
    return name;
}

QString ApplicationName()
{
    return QLatin1String(SettingsStore::Maker) + QLatin1Char('\\') + ModuleBaseName();
}

} // namespace ComponentName
