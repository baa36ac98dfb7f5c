// Any file content: the parser keeps it byte for byte, the reads stay inside their buffers,
// and a write of storable names reads back as written.
#include "platform/Profile.h"
#include "platform/tProfileCache.h"
#include "platform/tProfileFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string g_Path;

void WriteFileBytes(const std::string& path, const uint8_t* data, size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(data, 1, size, file);
    std::fclose(file);
}

std::vector<std::string> Names(const char* section) {
    std::vector<char> buffer(1000);
    GetPrivateProfileString(section, nullptr, "#", buffer.data(), 1000, g_Path.c_str());
    std::vector<std::string> names;
    for (size_t offset = 0; offset < buffer.size() && buffer[offset];) {
        names.emplace_back(buffer.data() + offset);
        offset += names.back().size() + 1;
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_Path = "/dev/shm/zembrola-fuzz-" + std::to_string(getpid()) + ".ini";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (tProfileFile::Parse(std::string(bytes)).Serialize() != bytes)
        std::abort();

    WriteFileBytes(g_Path, data, size);
    tProfileCache::Instance().Clear();
    char small[7];
    for (uint32_t cut = 0; cut <= sizeof small; ++cut) {
        GetPrivateProfileString(nullptr, nullptr, "#", small, cut, g_Path.c_str());
        GetPrivateProfileString("s", nullptr, "#", small, cut, g_Path.c_str());
    }
    for (const std::string& section : Names(nullptr)) {
        for (const std::string& key : Names(section.c_str())) {
            char value[100];
            GetPrivateProfileString(section.c_str(), key.c_str(), "#", value, sizeof value,
                                    g_Path.c_str());
            GetPrivateProfileString(section.c_str(), key.c_str(), "#", small, sizeof small,
                                    g_Path.c_str());
            GetPrivateProfileInt(section.c_str(), key.c_str(), 5, g_Path.c_str());
        }
    }

    // Take a section, key and value from the input; what may be stored must read back.
    const std::string section(bytes.substr(0, std::min<size_t>(size, 5)));
    const std::string key(bytes.substr(std::min<size_t>(size, 5), 6));
    const std::string text(bytes.substr(std::min<size_t>(size, 11), 7));
    if (section.find('\0') != std::string::npos || key.find('\0') != std::string::npos ||
        text.find('\0') != std::string::npos)
        return 0;
    const bool storable = ProfileSectionIsStorable(section) && ProfileKeyIsStorable(key) &&
                          ProfileValueIsStorable(text);
    const bool written =
        WritePrivateProfileString(section.c_str(), key.c_str(), text.c_str(), g_Path.c_str());
    if (written != storable)
        std::abort();
    if (written) {
        char value[100];
        GetPrivateProfileString(section.c_str(), key.c_str(), "#", value, sizeof value,
                                g_Path.c_str());
        if (text != value)
            std::abort();
        if (!WritePrivateProfileString(section.c_str(), key.c_str(), nullptr, g_Path.c_str()))
            std::abort();
    }
    return 0;
}
