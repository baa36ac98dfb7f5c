#include "formats/tFormatsPlugin.h"

#include "formats/tLibraryFormats.h"

tFormats::tCard tFormatsPlugin::ReadCard(const std::string& card) const {
    return tLibraryFormats::Instance().ReadCard(card);
}

std::string tFormatsPlugin::WriteCalendar(const std::vector<tEvent>& events,
                                          std::time_t stamp) const {
    return tLibraryFormats::Instance().WriteCalendar(events, stamp);
}
