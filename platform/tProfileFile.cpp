#include "platform/tProfileFile.h"

#include "platform/CodePage.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text, size_t* offset) {
    size_t begin = 0;
    while (begin < text.size() && IsBlank(text[begin]))
        ++begin;
    size_t end = text.size();
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    *offset = begin;
    return text.substr(begin, end - begin);
}

} // namespace

bool tProfileFile::tLine::IsBlank() const {
    for (char c : m_Text)
        if (!::IsBlank(c))
            return false;
    return true;
}

tProfileFile::tLine tProfileFile::MakeLine(std::string text, tEol eol) {
    tLine line;
    line.m_Text = std::move(text);
    line.m_Eol = eol;
    const std::string_view view(line.m_Text);
    // A NUL would cut the name short in a key list; such hand-made lines are kept but unused.
    if (view.find('\0') != std::string_view::npos)
        return line;
    size_t offset = 0;
    const std::string_view trimmed = Trim(view, &offset);
    if (trimmed.empty() || trimmed.front() == ';')
        return line;
    if (trimmed.front() == '[') {
        const size_t close = trimmed.find(']');
        if (close == std::string_view::npos)
            return line;
        size_t inner = 0;
        const std::string_view name = Trim(trimmed.substr(1, close - 1), &inner);
        line.m_Kind = tKind::Section;
        line.m_NameBegin = static_cast<uint32_t>(offset + 1 + inner);
        line.m_NameLength = static_cast<uint32_t>(name.size());
        return line;
    }
    const size_t equals = view.find('=');
    if (equals == std::string_view::npos)
        return line;
    size_t keyOffset = 0;
    const std::string_view key = Trim(view.substr(0, equals), &keyOffset);
    if (key.empty())
        return line;
    line.m_Kind = tKind::Entry;
    line.m_NameBegin = static_cast<uint32_t>(keyOffset);
    line.m_NameLength = static_cast<uint32_t>(key.size());
    line.m_ValueBegin = static_cast<uint32_t>(equals + 1);
    return line;
}

tProfileFile tProfileFile::Parse(std::string_view bytes) {
    tProfileFile file;
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t newline = bytes.find('\n', start);
        if (newline == std::string_view::npos) {
            file.m_Lines.push_back(MakeLine(std::string(bytes.substr(start)), tEol::None));
            break;
        }
        size_t end = newline;
        tEol eol = tEol::Lf;
        if (end > start && bytes[end - 1] == '\r') {
            --end;
            eol = tEol::CrLf;
        }
        file.m_Lines.push_back(MakeLine(std::string(bytes.substr(start, end - start)), eol));
        start = newline + 1;
    }
    file.Reindex();
    return file;
}

std::string tProfileFile::Serialize() const {
    size_t size = 0;
    for (const tLine& line : m_Lines)
        size += line.m_Text.size() + 2;
    std::string out;
    out.reserve(size);
    for (const tLine& line : m_Lines) {
        out += line.m_Text;
        if (line.m_Eol == tEol::CrLf)
            out += "\r\n";
        else if (line.m_Eol == tEol::Lf)
            out += '\n';
    }
    return out;
}

void tProfileFile::Reindex() {
    m_Sections.clear();
    m_SectionIndex.clear();
    for (size_t i = 0; i < m_Lines.size(); ++i) {
        const tLine& line = m_Lines[i];
        if (line.m_Kind == tKind::Section) {
            if (!m_Sections.empty())
                m_Sections.back().m_End = i;
            m_Sections.push_back(tSection{i, m_Lines.size(), {}});
            // Hand-edited files may repeat a section; the first one is the one that counts.
            m_SectionIndex.emplace(CodePage::Folded(line.Name()), m_Sections.size() - 1);
        } else if (line.m_Kind == tKind::Entry && !m_Sections.empty()) {
            m_Sections.back().m_Keys.push_back(i);
        }
    }
}

const tProfileFile::tSection* tProfileFile::FindSection(std::string_view name) const {
    const auto found = m_SectionIndex.find(CodePage::Folded(name));
    return found == m_SectionIndex.end() ? nullptr : &m_Sections[found->second];
}

const tProfileFile::tLine* tProfileFile::FindKey(const tSection& section, std::string_view key,
                                                 size_t* index) const {
    for (size_t lineIndex : section.m_Keys) {
        if (CodePage::EqualNoCase(m_Lines[lineIndex].Name(), key)) {
            if (index)
                *index = lineIndex;
            return &m_Lines[lineIndex];
        }
    }
    return nullptr;
}

void tProfileFile::SectionNames(std::vector<std::string_view>& names) const {
    for (const tSection& section : m_Sections)
        names.push_back(m_Lines[section.m_Header].Name());
}

std::optional<std::string_view> tProfileFile::RawValue(std::string_view section,
                                                       std::string_view key) const {
    const tSection* found = FindSection(section);
    if (!found)
        return std::nullopt;
    const tLine* line = FindKey(*found, key, nullptr);
    if (!line)
        return std::nullopt;
    return line->Value();
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
        m_Lines.push_back(MakeLine("[" + std::string(section) + "]", eol));
        m_Lines.push_back(MakeLine(std::string(key) + "=" + std::string(value), eol));
        Reindex();
        return true;
    }
    size_t index = 0;
    if (const tLine* line = FindKey(*found, key, &index)) {
        // A replaced key keeps its place and the case it was first written in.
        std::string text = std::string(line->Name()) + "=" + std::string(value);
        if (text == line->m_Text)
            return false;
        m_Lines[index] = MakeLine(std::move(text), line->m_Eol);
        Reindex();
        return true;
    }
    // A new key goes after the last non-blank line of its section.
    size_t after = found->m_Header;
    for (size_t i = found->m_Header + 1; i < found->m_End; ++i)
        if (!m_Lines[i].IsBlank())
            after = i;
    if (m_Lines[after].m_Eol == tEol::None)
        m_Lines[after].m_Eol = eol;
    m_Lines.insert(m_Lines.begin() + static_cast<std::ptrdiff_t>(after + 1),
                   MakeLine(std::string(key) + "=" + std::string(value), eol));
    Reindex();
    return true;
}

bool tProfileFile::RemoveKey(std::string_view section, std::string_view key) {
    const tSection* found = FindSection(section);
    size_t index = 0;
    if (!found || !FindKey(*found, key, &index))
        return false;
    m_Lines.erase(m_Lines.begin() + static_cast<std::ptrdiff_t>(index));
    Reindex();
    return true;
}

bool tProfileFile::RemoveSection(std::string_view section) {
    const tSection* found = FindSection(section);
    if (!found)
        return false;
    m_Lines.erase(m_Lines.begin() + static_cast<std::ptrdiff_t>(found->m_Header),
                  m_Lines.begin() + static_cast<std::ptrdiff_t>(found->m_End));
    Reindex();
    return true;
}
