#include "addressbooks/tCardEditor.h"

#include "data/tBirthdayDate.h"

#include <QRegularExpression>

#include <cstdio>
#include <string_view>
#include <vector>

namespace {

// One property of a card as it stands in the text: its lines, folded as they were, with their
// line ends.
struct tProperty {
    std::string m_Raw;
    std::string m_Name;   // upper case, without a group
    std::string m_Group;  // "item1." or empty
    std::string m_Params; // ";TYPE=home" or empty
    std::string m_Value;  // unfolded
};

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::vector<tProperty> Split(const std::string& card) {
    std::vector<tProperty> properties;
    size_t at = 0;
    while (at < card.size()) {
        size_t end = card.find('\n', at);
        end = end == std::string::npos ? card.size() : end + 1;
        const std::string line = card.substr(at, end - at);
        if ((line[0] == ' ' || line[0] == '\t') && !properties.empty())
            properties.back().m_Raw += line;
        else
            properties.push_back({line, {}, {}, {}, {}});
        at = end;
    }
    for (tProperty& property : properties) {
        std::string logical;
        const std::string& raw = property.m_Raw;
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\r' || raw[i] == '\n') {
                // A line end and the space or tab after it fold one line into two.
                while (i + 1 < raw.size() && (raw[i + 1] == '\r' || raw[i + 1] == '\n'))
                    ++i;
                if (i + 1 < raw.size())
                    ++i;
                continue;
            }
            logical += raw[i];
        }
        size_t colon = std::string::npos;
        bool quoted = false;
        for (size_t i = 0; i < logical.size() && colon == std::string::npos; ++i) {
            if (logical[i] == '"')
                quoted = !quoted;
            else if (logical[i] == ':' && !quoted)
                colon = i;
        }
        const std::string head = logical.substr(0, colon);
        property.m_Value = colon == std::string::npos ? std::string() : logical.substr(colon + 1);
        const size_t semicolon = head.find(';');
        std::string name = head.substr(0, semicolon);
        if (semicolon != std::string::npos)
            property.m_Params = head.substr(semicolon);
        if (const size_t dot = name.rfind('.'); dot != std::string::npos) {
            property.m_Group = name.substr(0, dot + 1);
            name = name.substr(dot + 1);
        }
        property.m_Name = Upper(name);
    }
    return properties;
}

std::string LineEnd(const std::string& card) {
    return card.find("\r\n") != std::string::npos || card.find('\n') == std::string::npos ? "\r\n"
                                                                                          : "\n";
}

// A logical line folded at 75 octets, never inside a character.
std::string Folded(const std::string& line, const std::string& end) {
    std::string folded;
    size_t width = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        const bool starts = (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80;
        if (starts && width >= 74) {
            folded += end + " ";
            width = 1;
        }
        folded += line[i];
        ++width;
    }
    return folded + end;
}

std::string Escaped(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\\' || c == ',' || c == ';')
            escaped += '\\';
        if (c == '\n') {
            escaped += "\\n";
            continue;
        }
        escaped += c;
    }
    return escaped;
}

// The components of a structured value (N), split at the semicolons that are not escaped;
// each as written.
std::vector<std::string> Components(const std::string& value) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            parts.back() += value.substr(i, 2);
            ++i;
        } else if (value[i] == ';') {
            parts.emplace_back();
        } else {
            parts.back() += value[i];
        }
    }
    return parts;
}

// A name as given and family name: the last word is the family's.
std::pair<std::string, std::string> GivenAndFamily(const std::string& name) {
    const size_t space = name.find_last_of(' ');
    if (space == std::string::npos)
        return {name, {}};
    return {name.substr(0, space), name.substr(space + 1)};
}

// Parameters without the ones that say how the old value was encoded.
std::string PlainParams(const std::string& params) {
    std::string kept;
    size_t at = 0;
    while (at < params.size()) {
        size_t end = params.find(';', at + 1);
        end = end == std::string::npos ? params.size() : end;
        const std::string param = params.substr(at, end - at);
        const std::string name = Upper(param.substr(1, param.find('=') - 1));
        if (name != "ENCODING" && name != "CHARSET" && name != "QUOTED-PRINTABLE")
            kept += param;
        at = end;
    }
    return kept;
}

std::string Joined(const std::vector<tProperty>& properties) {
    std::string card;
    for (const tProperty& property : properties)
        card += property.m_Raw;
    return card;
}

std::string TwoDigits(int number) {
    char text[4];
    std::snprintf(text, sizeof text, "%02d", number % 100);
    return text;
}

std::string NameLines(const std::string& name, const std::string& end) {
    const auto [given, family] = GivenAndFamily(name);
    return Folded("FN:" + Escaped(name), end) +
           Folded("N:" + Escaped(family) + ";" + Escaped(given) + ";;;", end);
}

} // namespace

std::string tCardEditor::NewCard(const QString& uid, const std::string& name, int month, int day,
                                 const std::string& gender) {
    const std::string end = "\r\n";
    std::string card = "BEGIN:VCARD" + end + "VERSION:4.0" + end +
                       Folded("UID:" + Escaped(uid.toStdString()), end) + NameLines(name, end) +
                       "BDAY:--" + TwoDigits(month) + TwoDigits(day) + end;
    if (gender == "m" || gender == "f")
        card += std::string("GENDER:") + (gender == "m" ? "M" : "F") + end;
    return card + "END:VCARD" + end;
}

std::string tCardEditor::Rename(const std::string& card, const std::string& name) {
    std::vector<tProperty> properties = Split(card);
    const std::string end = LineEnd(card);
    const auto [given, family] = GivenAndFamily(name);
    for (tProperty& property : properties) {
        if (property.m_Name == "FN") {
            property.m_Raw = Folded(property.m_Group + "FN" + PlainParams(property.m_Params) + ":" +
                                        Escaped(name),
                                    end);
        } else if (property.m_Name == "N") {
            std::vector<std::string> parts = Components(property.m_Value);
            parts.resize(std::max<size_t>(parts.size(), 5));
            parts[0] = Escaped(family);
            parts[1] = Escaped(given);
            std::string value;
            for (size_t i = 0; i < parts.size(); ++i)
                value += (i ? ";" : "") + parts[i];
            property.m_Raw =
                Folded(property.m_Group + "N" + PlainParams(property.m_Params) + ":" + value, end);
        }
    }
    return Joined(properties);
}

std::string tCardEditor::MoveBirthday(const std::string& card, int month, int day) {
    std::vector<tProperty> properties = Split(card);
    const std::string end = LineEnd(card);
    // The year (or "--"), the separators and whatever follows the day (a time) stay as written.
    static const QRegularExpression kDate(
        QRegularExpression::anchoredPattern(R"(\s*(--|[0-9]{4})(-?)([0-9]{2})(-?)([0-9]{2})(.*))"));
    bool found = false;
    for (tProperty& property : properties) {
        if (property.m_Name != "BDAY")
            continue;
        found = true;
        std::string value = "--" + TwoDigits(month) + TwoDigits(day);
        const QRegularExpressionMatch date = kDate.match(QString::fromStdString(property.m_Value));
        if (date.hasMatch()) {
            const auto part = [&](int n) { return date.captured(n).toStdString(); };
            std::string year = part(1);
            if (year != "--" && month == 2 && day == 29 &&
                !tBirthdayDate::IsLeapYear(std::stoi(year)))
                year = "--"; // no 29 February in that year: the day matters more than the year
            value = year + (year == "--" ? std::string() : part(2)) + TwoDigits(month) + part(4) +
                    TwoDigits(day) + part(6);
        }
        property.m_Raw = Folded(property.m_Group + "BDAY" + property.m_Params + ":" + value, end);
    }
    if (!found) {
        const auto last = std::find_if(properties.rbegin(), properties.rend(),
                                       [](const tProperty& p) { return p.m_Name == "END"; });
        properties.insert(
            last == properties.rend() ? properties.end() : std::prev(last.base()),
            {Folded("BDAY:--" + TwoDigits(month) + TwoDigits(day), end), "BDAY", {}, {}, {}});
    }
    return Joined(properties);
}

std::string tCardEditor::RemoveBirthday(const std::string& card) {
    std::vector<tProperty> properties = Split(card);
    std::erase_if(properties, [](const tProperty& property) { return property.m_Name == "BDAY"; });
    return Joined(properties);
}
