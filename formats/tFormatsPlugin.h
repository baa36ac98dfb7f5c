// The formats as a plugin of their own, loaded by the program at its first import or export.
#pragma once

#include "formats/tFormats.h"

#include <QObject>

class tFormatsPlugin : public QObject, public tFormats {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID tFormats_iid)
    Q_INTERFACES(tFormats)

public:
    tCard ReadCard(const std::string& card) const override;
    std::string WriteCalendar(const std::vector<tEvent>& events, std::time_t stamp) const override;
};
