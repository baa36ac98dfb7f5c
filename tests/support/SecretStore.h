// A desktop's secret store for the tests: a D-Bus session bus of their own with GNOME
// Keyring's Secret Service on it, its keyrings in a scratch folder, started and stopped by
// process id.  Programs run with Environment() keep their passwords there.
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <string>

namespace TestSupport {

class tSecretStore {
public:
    explicit tSecretStore(const std::string& folder);
    ~tSecretStore();

    // Empty when the store runs; else why not (a missing package: skip).
    const QString& Problem() const { return m_Problem; }
    // The test's environment with the bus and the keyrings' folders of this store.
    QProcessEnvironment Environment() const { return m_Environment; }

private:
    QTemporaryDir m_Run{QStringLiteral("/tmp/zembrola-keyring-XXXXXX")};
    QProcess m_Bus;
    QProcess m_Keyring;
    QProcessEnvironment m_Environment;
    QString m_Problem;
};

} // namespace TestSupport
