#include "addressbooks/tBookSyncTimer.h"

#include <filesystem>

tBookSyncTimer::tBookSyncTimer(tDataFile& data, std::string linksPath,
                               std::function<std::pair<int, int>()> pictures, QObject* parent)
    : QObject(parent), m_Data(data), m_LinksPath(std::move(linksPath)),
      m_Pictures(std::move(pictures)) {
    connect(&m_Timer, &QTimer::timeout, this, [this] {
        m_Timer.setInterval(kEveryMs);
        SyncNow();
    });
}

void tBookSyncTimer::Start(int firstMs) {
    m_Timer.start(firstMs);
}

bool tBookSyncTimer::SyncNow() {
    if (m_Sync)
        return false;
    // No books, no work: not even the formats are loaded.
    std::error_code none;
    if (!std::filesystem::exists(m_LinksPath, none))
        return true;
    const auto [male, female] = m_Pictures();
    if (!m_Client)
        m_Client = std::make_unique<tDavClient>();
    m_Sync = std::make_unique<tBookSync>(*m_Client, m_Data, m_LinksPath, male, female);
    m_Sync->Run([this](const tBookSync::tResult& result) {
        // The sync object ends after its last callback has returned.
        QMetaObject::invokeMethod(
            this, [this] { m_Sync.reset(); }, Qt::QueuedConnection);
        Q_EMIT Synced(!result.m_Changes.empty(), result.m_Failed, result.m_Waiting);
    });
    return true;
}
