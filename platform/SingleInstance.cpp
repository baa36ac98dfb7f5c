#include "platform/SingleInstance.h"

#include "platform/CurrentDirectory.h"
#include "platform/FolderLock.h"

#include <string>
#include <sys/stat.h>

bool ClaimSingleInstance(const char* name) {
    static bool claimed = false;
    if (claimed)
        return true;
    const std::string folder = FullPath("Cal_Data");
    struct stat info {};
    // Without a data folder there is nothing to share; the program says what is missing.
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return claimed = true;
    const std::string lock = std::string(".") + name + "-instance.lock";
    return claimed = FolderLock::HoldForever(folder, lock.c_str());
}
