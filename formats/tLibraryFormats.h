// The formats as Evolution's vCard parser and libical read and write them.
#pragma once

#include "formats/tFormats.h"

class tLibraryFormats : public tFormats {
public:
    tCard ReadCard(const std::string& card) const override;
    std::string WriteCalendar(const std::vector<tEvent>& events, std::time_t stamp) const override;

    static const tLibraryFormats& Instance();
};
