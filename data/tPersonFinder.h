// Finding a person by a part of the name, without regard to case or accents: "ZOE" finds
// "Zoë".  The people are read once when the search begins.
#pragma once

#include "data/tDataFile.h"

#include <string>
#include <string_view>
#include <vector>

class tPersonFinder {
public:
    void Load(const tDataFile& file);
    // The first person at or after from (going round past the end) whose name holds text
    // (Windows-1252), or -1.  An empty text finds nobody.
    int Find(std::string_view text, int from = 0) const;
    const tDataFile::tEntry& At(int index) const { return m_People[static_cast<size_t>(index)]; }
    int Count() const { return static_cast<int>(m_People.size()); }

    // Lower case, accents and ligatures spelled out in plain letters.
    static std::string Fold(std::string_view ansi);

private:
    std::vector<tDataFile::tEntry> m_People;
    std::vector<std::string> m_Folded;
};
