// Writing to a card what the user changed in Zembrola, and nothing else: the name (FN and N),
// the day of the birthday, or the birthday taken away.  Every other line of the card stays as
// it was, byte for byte (photo, phones, X- properties, the vCard version, BDAY's year), so that
// a card written back loses nothing another program put there.
#pragma once

#include <QString>

#include <string>

class tCardEditor {
public:
    // A card of ours for someone added in Zembrola; texts in UTF-8, gender "m" or "f".
    static std::string NewCard(const QString& uid, const std::string& name, int month, int day,
                               const std::string& gender);

    // card: one card's text in UTF-8.
    static std::string Rename(const std::string& card, const std::string& name);
    // The year stays where the card gives one and the day exists in it.
    static std::string MoveBirthday(const std::string& card, int month, int day);
    static std::string RemoveBirthday(const std::string& card);
};
