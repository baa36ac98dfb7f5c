// Any answer of an address-book server: the multi-status reader and the card editor that
// writes the user's changes into the cards it brings never read outside their buffers, and
// never fail on what a hostile or broken server sends.
#include "addressbooks/tCardEditor.h"
#include "addressbooks/tDavMultiStatus.h"

#include <string>

namespace {

void Edit(const std::string& card) {
    tCardEditor::Rename(card, "Anna Berg");
    tCardEditor::MoveBirthday(card, 2, 29);
    tCardEditor::MoveBirthday(card, 12, 31);
    tCardEditor::RemoveBirthday(card);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray body(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const std::optional<tDavMultiStatus> status = tDavMultiStatus::Parse(body)) {
        for (const tDavMultiStatus::tResource& resource : status->m_Resources)
            if (!resource.m_AddressData.isEmpty())
                Edit(resource.m_AddressData.toStdString());
    }
    Edit(body.toStdString()); // a card fetched alone, by GET
    return 0;
}
