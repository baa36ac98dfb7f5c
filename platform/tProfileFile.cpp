#include "platform/tProfileFile.h"

#include "platform/CodePage.h"
#include "platform/Joined.h"

#include <algorithm>
#include <stdexcept>

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text, size_t* offset) {
    size_t begin = 0;
    while (begin < text.size() && tProfileFile::IsBlank(text[begin]))
        ++begin;
    size_t end = text.size();
    while (end > begin && tProfileFile::IsBlank(text[end - 1]))
        --end;
    *offset = begin;
    return text.substr(begin, end - begin);
}

// UTF-16 to UTF-8; an unpaired surrogate is carried through as its own code point so that
// writing the file back gives the same bytes.
std::string Utf8FromUtf16(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size() / 2 + 16);
    const auto unit = [&](size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        CodePage::AppendUtf8(out, c);
    }
    return out;
}

void AppendUtf16(std::string& out, std::string_view utf8, bool bigEndian) {
    const auto put = [&](char32_t u) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    };
    for (size_t pos = 0; pos < utf8.size();) {
        const char32_t c = CodePage::DecodeUtf8(utf8, &pos).value_or(0xFFFD);
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
}

} // namespace

void tProfileFile::Classify(tLine& line, std::string_view view) {
    // A NUL would cut the name short in a key list; such hand-made lines are kept but unused.
    if (view.find('\0') != std::string_view::npos)
        return;
    size_t offset = 0;
    const std::string_view trimmed = Trim(view, &offset);
    if (trimmed.empty() || trimmed.front() == ';')
        return;
    if (trimmed.front() == '[') {
        const size_t close = trimmed.find(']');
        if (close == std::string_view::npos)
            return;
        size_t inner = 0;
        const std::string_view name = Trim(trimmed.substr(1, close - 1), &inner);
        line.m_Kind = tKind::Section;
        line.m_NameBegin = static_cast<uint32_t>(offset + 1 + inner);
        line.m_NameLength = static_cast<uint32_t>(name.size());
        return;
    }
    const size_t equals = view.find('=');
    if (equals == std::string_view::npos)
        return;
    size_t keyOffset = 0;
    const std::string_view key = Trim(view.substr(0, equals), &keyOffset);
    if (key.empty())
        return;
    line.m_Kind = tKind::Entry;
    line.m_NameBegin = static_cast<uint32_t>(keyOffset);
    line.m_NameLength = static_cast<uint32_t>(key.size());
    line.m_ValueBegin = static_cast<uint32_t>(equals + 1);
}

namespace {

// UTF-16 written without a byte-order mark: no text of 8-bit characters has NUL bytes, and
// one of plain letters in UTF-16 has one in every unit, on the same side.  0 when it is none,
// else 1 for little-endian and 2 for big-endian.
int Utf16WithoutMark(std::string_view bytes) {
    const size_t units = std::min<size_t>(bytes.size() / 2, 256);
    if (units < 2)
        return 0;
    size_t low = 0, high = 0;
    for (size_t i = 0; i < units; ++i) {
        low += bytes[2 * i + 1] == '\0' && bytes[2 * i] != '\0';
        high += bytes[2 * i] == '\0' && bytes[2 * i + 1] != '\0';
    }
    return low * 10 >= units * 9 ? 1 : high * 10 >= units * 9 ? 2 : 0;
}

} // namespace

tProfileFile tProfileFile::Parse(std::string bytes) {
    if (bytes.size() > UINT32_MAX)
        throw std::length_error("profile file too large");
    tProfileFile file;
    const bool marked = bytes.size() >= 2 && (bytes.compare(0, 2, "\xFF\xFE") == 0 ||
                                              bytes.compare(0, 2, "\xFE\xFF") == 0);
    const int unmarked = marked ? 0 : Utf16WithoutMark(bytes);
    if (marked || unmarked != 0) {
        const bool bigEndian = marked ? bytes[0] == '\xFE' : unmarked == 2;
        file.m_Encoding = bigEndian ? tEncoding::Utf16Be : tEncoding::Utf16Le;
        file.m_NoMark = !marked;
        const std::string_view units = std::string_view(bytes).substr(marked ? 2 : 0);
        if (units.size() % 2)
            file.m_OddByte.assign(1, units.back());
        std::string text = Utf8FromUtf16(units, bigEndian);
        bytes = std::move(text);
    } else if (bytes.starts_with(kUtf8Bom)) {
        file.m_Encoding = tEncoding::Utf8Bom;
        bytes.erase(0, kUtf8Bom.size());
    } else if (CodePage::LooksLikeUtf8(bytes)) {
        file.m_Encoding = tEncoding::Utf8;
    }
    file.m_Text = std::move(bytes);

    // CR, LF and CR LF each end a line, as in the Windows profile functions.
    const std::string_view text(file.m_Text);
    file.m_Lines.reserve(
        static_cast<size_t>(std::count_if(text.begin(), text.end(),
                                          [](char c) { return c == '\n' || c == '\r'; })) +
        16);
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        tLine line;
        line.m_Begin = static_cast<uint32_t>(start);
        if (end == std::string_view::npos) {
            line.m_Length = static_cast<uint32_t>(text.size() - start);
            start = text.size();
        } else {
            line.m_Length = static_cast<uint32_t>(end - start);
            if (text[end] == '\n') {
                line.m_Eol = tEol::Lf;
                start = end + 1;
            } else if (end + 1 < text.size() && text[end + 1] == '\n') {
                line.m_Eol = tEol::CrLf;
                start = end + 2;
            } else {
                line.m_Eol = tEol::Cr;
                start = end + 1;
            }
        }
        Classify(line, text.substr(line.m_Begin, line.m_Length));
        file.m_Lines.push_back(line);
    }
    file.Reindex();
    return file;
}

bool tProfileFile::Write(const std::function<bool(std::string_view)>& sink) const {
    constexpr size_t kChunk = 1 << 16;
    std::string out;
    out.reserve(kChunk + 4096);
    if (m_Encoding == tEncoding::Utf16Le && !m_NoMark)
        out = "\xFF\xFE";
    else if (m_Encoding == tEncoding::Utf16Be && !m_NoMark)
        out = "\xFE\xFF";
    else if (m_Encoding == tEncoding::Utf8Bom)
        out = kUtf8Bom;
    const bool utf16 = m_Encoding == tEncoding::Utf16Le || m_Encoding == tEncoding::Utf16Be;
    const bool bigEndian = m_Encoding == tEncoding::Utf16Be;
    std::string line;
    for (const tLine& record : m_Lines) {
        line.assign(TextOf(record));
        if (record.m_Eol == tEol::CrLf)
            line += "\r\n";
        else if (record.m_Eol == tEol::Lf)
            line += '\n';
        else if (record.m_Eol == tEol::Cr)
            line += '\r';
        if (utf16)
            AppendUtf16(out, line, bigEndian);
        else
            out += line;
        if (out.size() >= kChunk) {
            if (!sink(out))
                return false;
            out.clear();
        }
    }
    out += m_OddByte;
    return out.empty() || sink(out);
}

std::string tProfileFile::Serialize() const {
    std::string all;
    Write([&](std::string_view piece) {
        all += piece;
        return true;
    });
    return all;
}

bool tProfileFile::KeepsItsForm() const {
    return IsUnicode() || !CodePage::LooksLikeUtf8(Serialize());
}

std::string_view tProfileFile::TextOf(const tLine& line) const {
    return std::string_view(line.m_Added ? m_Added : m_Text).substr(line.m_Begin, line.m_Length);
}

std::string_view tProfileFile::AnsiName(const tLine& line, std::string& scratch) const {
    if (!IsUnicode())
        return NameOf(line);
    scratch = CodePage::AnsiFromUtf8(NameOf(line));
    return scratch;
}

std::string tProfileFile::FileForm(std::string_view ansi) const {
    return IsUnicode() ? CodePage::Utf8FromAnsi(ansi) : std::string(ansi);
}

bool tProfileFile::IsBlankLine(const tLine& line) const {
    const std::string_view text = TextOf(line);
    return std::all_of(text.begin(), text.end(), IsBlank);
}

void tProfileFile::Reindex() {
    m_Sections.clear();
    m_SectionIndex.clear();
    std::string scratch;
    for (size_t i = 0; i < m_Lines.size(); ++i) {
        if (m_Lines[i].m_Kind != tKind::Section)
            continue;
        if (!m_Sections.empty())
            m_Sections.back().m_End = i;
        m_Sections.push_back(tSection{i, m_Lines.size()});
        // Hand-edited files may repeat a section; the first one is the one that counts.
        m_SectionIndex.emplace(CodePage::Folded(AnsiName(m_Lines[i], scratch)),
                               m_Sections.size() - 1);
    }
}

tProfileFile::tLine tProfileFile::AddLine(const std::string& text, tEol eol) {
    if (m_Added.size() + text.size() > UINT32_MAX)
        throw std::length_error("profile file too large");
    tLine line;
    line.m_Added = true;
    line.m_Begin = static_cast<uint32_t>(m_Added.size());
    line.m_Length = static_cast<uint32_t>(text.size());
    line.m_Eol = eol;
    m_Added += text;
    Classify(line, text);
    return line;
}

void tProfileFile::InsertLine(size_t index, tLine line) {
    m_Lines.insert(m_Lines.begin() + static_cast<std::ptrdiff_t>(index), line);
    for (tSection& section : m_Sections) {
        if (section.m_Header >= index)
            ++section.m_Header;
        if (section.m_End >= index)
            ++section.m_End;
    }
}

void tProfileFile::EraseLines(size_t begin, size_t end) {
    m_Lines.erase(m_Lines.begin() + static_cast<std::ptrdiff_t>(begin),
                  m_Lines.begin() + static_cast<std::ptrdiff_t>(end));
    Reindex();
}

const tProfileFile::tSection* tProfileFile::FindSection(std::string_view name) const {
    const auto found = m_SectionIndex.find(CodePage::Folded(name));
    return found == m_SectionIndex.end() ? nullptr : &m_Sections[found->second];
}

size_t tProfileFile::FindKey(const tSection& section, std::string_view key) const {
    std::string scratch;
    for (size_t i = section.m_Header + 1; i < section.m_End; ++i)
        if (m_Lines[i].m_Kind == tKind::Entry &&
            CodePage::EqualNoCase(AnsiName(m_Lines[i], scratch), key))
            return i;
    return 0;
}

bool tProfileFile::ForEachEntry(
    std::string_view section,
    const std::function<bool(std::string_view, std::string_view, std::string_view)>& visit) const {
    const tSection* found = FindSection(section);
    if (!found)
        return false;
    std::string scratch, exact, value;
    for (size_t i = found->m_Header + 1; i < found->m_End; ++i) {
        const tLine& line = m_Lines[i];
        if (line.m_Kind != tKind::Entry)
            continue;
        exact = IsUnicode() ? std::string(NameOf(line)) : CodePage::Utf8FromAnsi(NameOf(line));
        const std::string_view raw = TextOf(line).substr(line.m_ValueBegin);
        value = IsUnicode() ? CodePage::AnsiFromUtf8(raw) : std::string(raw);
        if (!visit(AnsiName(line, scratch), exact, value))
            break;
    }
    return true;
}

bool tProfileFile::HasKeys(std::string_view section) const {
    bool any = false;
    ForEachKey(section, [&](std::string_view) { return !(any = true); });
    return any;
}

void tProfileFile::SectionNames(std::vector<std::string>& names) const {
    std::string scratch;
    for (const tSection& section : m_Sections)
        names.emplace_back(AnsiName(m_Lines[section.m_Header], scratch));
}

std::optional<std::string> tProfileFile::RawValue(std::string_view section,
                                                  std::string_view key) const {
    const tSection* found = FindSection(section);
    const size_t index = found ? FindKey(*found, key) : 0;
    if (index == 0)
        return std::nullopt;
    const std::string_view value = TextOf(m_Lines[index]).substr(m_Lines[index].m_ValueBegin);
    return IsUnicode() ? CodePage::AnsiFromUtf8(value) : std::string(value);
}

tProfileFile::tEol tProfileFile::NewLineEol() const {
    // New lines follow the file's own convention, taken from its first line end.
    for (const tLine& line : m_Lines)
        if (line.m_Eol != tEol::None)
            return line.m_Eol;
    return tEol::Lf;
}

bool tProfileFile::SetValue(std::string_view section, std::string_view key,
                            std::string_view value) {
    const tEol eol = NewLineEol();
    const tSection* found = FindSection(section);
    if (!found) {
        if (!m_Lines.empty() && m_Lines.back().m_Eol == tEol::None)
            m_Lines.back().m_Eol = eol;
        m_Lines.push_back(AddLine(FileForm(Joined({"[", section, "]"})), eol));
        m_Lines.push_back(AddLine(FileForm(Joined({key, "=", value})), eol));
        m_Sections.push_back(tSection{m_Lines.size() - 2, m_Lines.size()});
        m_SectionIndex.emplace(CodePage::Folded(section), m_Sections.size() - 1);
        return true;
    }
    if (const size_t index = FindKey(*found, key)) {
        // A replaced key keeps its place and the case (and characters) it was written in.
        const tLine& old = m_Lines[index];
        std::string text = Joined({NameOf(old), "=", FileForm(value)});
        if (text == TextOf(old))
            return false;
        m_Lines[index] = AddLine(text, old.m_Eol);
        return true;
    }
    // A new key goes after the last non-blank line of its section.
    size_t after = found->m_Header;
    for (size_t i = found->m_Header + 1; i < found->m_End; ++i)
        if (!IsBlankLine(m_Lines[i]))
            after = i;
    if (m_Lines[after].m_Eol == tEol::None)
        m_Lines[after].m_Eol = eol;
    InsertLine(after + 1, AddLine(FileForm(Joined({key, "=", value})), eol));
    return true;
}

bool tProfileFile::RemoveKey(std::string_view section, std::string_view key) {
    const tSection* found = FindSection(section);
    const size_t index = found ? FindKey(*found, key) : 0;
    if (index == 0)
        return false;
    EraseLines(index, index + 1);
    return true;
}

bool tProfileFile::RemoveExactKey(std::string_view section, std::string_view exact) {
    const tSection* found = FindSection(section);
    if (!found)
        return false;
    for (size_t i = found->m_Header + 1; i < found->m_End; ++i) {
        const tLine& line = m_Lines[i];
        if (line.m_Kind == tKind::Entry &&
            (IsUnicode() ? NameOf(line) == exact : CodePage::Utf8FromAnsi(NameOf(line)) == exact)) {
            EraseLines(i, i + 1);
            return true;
        }
    }
    return false;
}

bool tProfileFile::RemoveSection(std::string_view section) {
    const tSection* found = FindSection(section);
    if (!found)
        return false;
    EraseLines(found->m_Header, found->m_End);
    return true;
}
