// Any contact file: the import never reads outside its buffers, and every card it would add
// has a real day of a real month and a name the data file carries back as it is.
#include "data/tContactImport.h"
#include "formats/tLibraryFormats.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tFormats::Use(&tLibraryFormats::Instance()); // the formats linked in, instrumented too
    tContactImport import;
    import.Read(std::string_view(reinterpret_cast<const char*>(data), size));
    const tDataFile none; // no file: every day is empty
    import.Plan(none, "f", 12, 12);
    for (const tContactImport::tContact& contact : import.m_Contacts) {
        if (contact.m_Month != 0 &&
            (contact.m_Month < 1 || contact.m_Month > 12 || contact.m_Day < 1 ||
             contact.m_Day > tDataFile::MonthLength(contact.m_Month)))
            std::abort();
        if (contact.m_Skip == tContactImport::tSkip::None &&
            !tDataFile::IsStorableName(contact.m_Name))
            std::abort();
    }
    return 0;
}
