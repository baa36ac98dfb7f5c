// A profile (INI) file held in memory: the file's text in one block and a small record per
// line pointing into it.  Lines the program does not touch keep their exact bytes and line
// ends, so a rewrite changes only what was asked for.
//
// Names and values go in and out in Windows-1252, the program's code page.  A file that
// another editor saved as UTF-8 (with a byte-order mark, or valid UTF-8 holding non-ASCII
// text) or as UTF-16 with a byte-order mark is read in that form and written back in it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class tProfileFile {
public:
    enum class tEncoding : uint8_t { Ansi, Utf8, Utf8Bom, Utf16Le, Utf16Be };

    // Blanks around names and values: what the Windows profile functions skip.
    static bool IsBlank(char c) {
        return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a';
    }

    static tProfileFile Parse(std::string bytes);
    // Hands the file's bytes, in its own encoding, to sink in pieces; false when sink refused.
    bool Write(const std::function<bool(std::string_view)>& sink) const;
    std::string Serialize() const;
    // False when the file's own code page would now read as UTF-8 (a name such as "Ã©ric"
    // in a file of plain ASCII): a write must never change how the rest of the file reads.
    bool KeepsItsForm() const;

    // Calls visit with each key name of the section, in file order, until it returns false.
    // False when there is no section.
    template <class Visit>
    bool ForEachKey(std::string_view section, Visit visit) const {
        const tSection* found = FindSection(section);
        if (!found)
            return false;
        std::string scratch;
        for (size_t i = found->m_Header + 1; i < found->m_End; ++i)
            if (m_Lines[i].m_Kind == tKind::Entry && !visit(AnsiName(m_Lines[i], scratch)))
                break;
        return true;
    }
    // Calls visit with each entry of the section, in file order, until it returns false: the
    // key in the program's code page, the key exactly as the file holds it (in UTF-8: two
    // keys that read alike in the code page stay two) and the raw value in the code page.
    bool ForEachEntry(std::string_view section,
                      const std::function<bool(std::string_view ansi, std::string_view exact,
                                               std::string_view value)>& visit) const;
    bool HasKeys(std::string_view section) const;
    // Section names in file order.
    void SectionNames(std::vector<std::string>& names) const;
    // The text after the "=" of the first entry with that key, untrimmed.
    std::optional<std::string> RawValue(std::string_view section, std::string_view key) const;

    // Edits return true when the content changed.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);
    bool RemoveKey(std::string_view section, std::string_view key);
    // Removes the first key that the file holds exactly as exact (UTF-8, as ForEachEntry
    // gives it), however many keys read alike in the code page.
    bool RemoveExactKey(std::string_view section, std::string_view exact);
    bool RemoveSection(std::string_view section);

private:
    enum class tKind : uint8_t { Other, Section, Entry };
    enum class tEol : uint8_t { None, Lf, CrLf, Cr };

    // 24 bytes a line: a large file must fit in memory about twice over.
    struct tLine {
        uint32_t m_Begin = 0; // in m_Text, or in m_Added for lines the program wrote
        uint32_t m_Length = 0;
        uint32_t m_NameBegin = 0; // section name or key, blanks trimmed, from m_Begin
        uint32_t m_NameLength = 0;
        uint32_t m_ValueBegin = 0; // entries: just after the "=", from m_Begin
        tEol m_Eol = tEol::None;
        tKind m_Kind = tKind::Other;
        bool m_Added = false;
    };

    struct tSection {
        size_t m_Header = 0; // line index of "[name]"
        size_t m_End = 0;    // first line after the section
    };

    std::string_view TextOf(const tLine& line) const;
    std::string_view NameOf(const tLine& line) const {
        return TextOf(line).substr(line.m_NameBegin, line.m_NameLength);
    }
    // The name in the program's code page; scratch holds it when it had to be converted.
    std::string_view AnsiName(const tLine& line, std::string& scratch) const;
    // Text in the program's code page as the file holds it.
    std::string FileForm(std::string_view ansi) const;
    bool IsUnicode() const { return m_Encoding != tEncoding::Ansi; }

    static void Classify(tLine& line, std::string_view text);
    tLine AddLine(const std::string& text, tEol eol);
    void InsertLine(size_t index, tLine line);
    void EraseLines(size_t begin, size_t end);
    const tSection* FindSection(std::string_view name) const;
    // The line index of the key in the section, or 0 (a header line is never a key).
    size_t FindKey(const tSection& section, std::string_view key) const;
    bool IsBlankLine(const tLine& line) const;
    tEol NewLineEol() const;
    void Reindex();

    tEncoding m_Encoding = tEncoding::Ansi;
    std::string m_Text;    // the file as read; UTF-16 files converted to UTF-8
    std::string m_Added;   // the text of lines written since
    std::string m_OddByte; // a UTF-16 file's stray last byte, kept as it was
    bool m_NoMark = false; // a UTF-16 file without a byte-order mark, kept so
    std::vector<tLine> m_Lines;
    std::vector<tSection> m_Sections;
    std::unordered_map<std::string, size_t> m_SectionIndex; // folded name -> first such section
};
