// One registry key, opened on demand.
#pragma once

#include "platform/Registry.h"

class tRegistry {
public:
    tRegistry();
    virtual ~tRegistry();
    tRegistry(const tRegistry&) = delete;
    tRegistry& operator=(const tRegistry&) = delete;

    // Closes an open key and names another, below root.
    void SetKey(const char* path, HKEY root);
    // Opens the key, creating it when missing.
    bool Open();
    // The text of a value (null: the key's default value) into a 260-byte buffer; the buffer
    // is untouched when the value cannot be read.
    bool ReadString(const char* valueName, char* text);
    void Close();

    char* m_MainKeyName;
    HKEY m_Key = nullptr;
    HKEY m_Root = HKEY_LOCAL_MACHINE;
};
