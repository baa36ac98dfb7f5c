#include "alarm/tRegistry.h"
#include "support/ErrorLog.h"
#include <cstdio>
#include <cstring>

constexpr size_t kNameSize = 260; // key names and values, with their terminator

tRegistry::tRegistry() : m_MainKeyName(new char[kNameSize]) {
    m_MainKeyName[0] = '\0';
}

tRegistry::~tRegistry() {
    Close();
    delete[] m_MainKeyName;
}

void tRegistry::SetKey(const char* path, HKEY root) {
    Close();
    m_Root = root;
    std::snprintf(m_MainKeyName, kNameSize, "%s", path ? path : "");
}

void tRegistry::Close() {
    if (m_Key)
        RegCloseKey(m_Key);
    m_Key = nullptr;
}

bool tRegistry::ReadString(const char* valueName, char* text) {
    if (!Open())
        return false;
    char value[kNameSize];
    uint32_t size = sizeof value;
    const bool read = RegQueryValueEx(m_Key, valueName, value, &size) == ERROR_SUCCESS;
    Close();
    if (read)
        std::memcpy(text, value, size);
    return read;
}

// The error log shows the check below as written, at "line 44" of tRegistry: keep it there.
// clang-format off
bool tRegistry::Open() {
    ASSUME(m_MainKeyName[0]!=0);
    Close();
    return RegCreateKeyEx(m_Root, m_MainKeyName, &m_Key) == ERROR_SUCCESS;
}
// clang-format on
