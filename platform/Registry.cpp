#include "platform/Registry.h"

#include "platform/CodePage.h"
#include "platform/Gdi.h"

#include <QSettings>
#include <QString>
#include <cstring>

struct tRegistryKey {
    QSettings::Scope m_Scope;
    QString m_Group; // the key path with "/" between its parts
};

namespace {

// The settings file of a root: the user's own, or the machine's.
QSettings Store(QSettings::Scope scope) {
    return QSettings(QSettings::NativeFormat, scope, "Zembrola", "Zembrola");
}

} // namespace

long RegCreateKeyEx(HKEY root, const char* subKey, HKEY* result) {
    if (!result || (root != HKEY_CURRENT_USER && root != HKEY_LOCAL_MACHINE))
        return ERROR_FILE_NOT_FOUND;
    const QSettings::Scope scope =
        root == HKEY_CURRENT_USER ? QSettings::UserScope : QSettings::SystemScope;
    QSettings store = Store(scope);
    if (store.status() == QSettings::AccessError)
        return ERROR_ACCESS_DENIED;
    QString group = ToQString(subKey ? subKey : "");
    group.replace('\\', '/');
    // An empty key, as in the settings file, exists without any value.
    *result = new tRegistryKey{scope, group};
    return ERROR_SUCCESS;
}

long RegQueryValueEx(HKEY key, const char* valueName, char* data, uint32_t* size) {
    if (!key || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE || !data || !size)
        return ERROR_FILE_NOT_FOUND;
    QSettings store = Store(key->m_Scope);
    const QString name = valueName && *valueName ? ToQString(valueName) : QString("Default");
    const QString path = key->m_Group.isEmpty() ? name : key->m_Group + "/" + name;
    if (!store.contains(path))
        return ERROR_FILE_NOT_FOUND;
    const std::string text = FromQString(store.value(path).toString());
    if (text.size() + 1 > *size)
        return ERROR_FILE_NOT_FOUND; // too long for the caller's buffer
    std::memcpy(data, text.c_str(), text.size() + 1);
    *size = static_cast<uint32_t>(text.size() + 1);
    return ERROR_SUCCESS;
}

long RegCloseKey(HKEY key) {
    if (key && key != HKEY_CURRENT_USER && key != HKEY_LOCAL_MACHINE)
        delete key;
    return ERROR_SUCCESS;
}
