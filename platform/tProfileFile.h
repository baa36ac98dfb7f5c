// A profile (INI) file held in memory line by line.  Lines the program does not touch keep
// their exact bytes and line ends, so a rewrite changes only what was asked for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class tProfileFile {
public:
    static tProfileFile Parse(std::string_view bytes);
    std::string Serialize() const;

    // Calls visit with each key name of the section, in file order, until it returns false.
    // False when there is no section.
    template <class Visit>
    bool ForEachKey(std::string_view section, Visit visit) const {
        const tSection* found = FindSection(section);
        if (!found)
            return false;
        for (size_t lineIndex : found->m_Keys)
            if (!visit(m_Lines[lineIndex].Name()))
                break;
        return true;
    }
    // Section names in file order.
    void SectionNames(std::vector<std::string_view>& names) const;
    // The text after the "=" of the first entry with that key, untrimmed.
    std::optional<std::string_view> RawValue(std::string_view section, std::string_view key) const;

    // Edits return true when the content changed.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);
    bool RemoveKey(std::string_view section, std::string_view key);
    bool RemoveSection(std::string_view section);

private:
    enum class tKind : uint8_t { Other, Section, Entry };
    enum class tEol : uint8_t { None, Lf, CrLf };

    struct tLine {
        std::string m_Text; // the line without its line end
        tEol m_Eol = tEol::None;
        tKind m_Kind = tKind::Other;
        uint32_t m_NameBegin = 0; // section name or key, blanks trimmed
        uint32_t m_NameLength = 0;
        uint32_t m_ValueBegin = 0; // entries: just after the "="

        std::string_view Name() const {
            return std::string_view(m_Text).substr(m_NameBegin, m_NameLength);
        }
        std::string_view Value() const { return std::string_view(m_Text).substr(m_ValueBegin); }
        bool IsBlank() const;
    };

    struct tSection {
        size_t m_Header = 0;        // line index of "[name]"
        size_t m_End = 0;           // first line after the section
        std::vector<size_t> m_Keys; // line indices of its entries
    };

    static tLine MakeLine(std::string text, tEol eol);
    const tSection* FindSection(std::string_view name) const;
    const tLine* FindKey(const tSection& section, std::string_view key, size_t* index) const;
    tEol NewLineEol() const;
    void Reindex();

    std::vector<tLine> m_Lines;
    std::vector<tSection> m_Sections;
    std::unordered_map<std::string, size_t> m_SectionIndex; // folded name -> first such section
};
