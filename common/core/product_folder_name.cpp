#include "common/core/product_folder_name.h"

#include <cstring>

bool ProductFolderNameAccepted(const char* currentDir, const char* const* names, int count)
{
    const std::size_t dirLen = std::strlen(currentDir);
    for (int i = 0; i < count; ++i) {
        const std::size_t nameLen = std::strlen(names[i]);
        if (nameLen <= dirLen && std::memcmp(currentDir + dirLen - nameLen, names[i], nameLen) == 0) {
            return true;
        }
    }
    return false;
}
