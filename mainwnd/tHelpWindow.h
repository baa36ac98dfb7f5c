// The help in a window of the program's own, for a desktop where no program opens the help
// document: the same document, read from its RTF form, in the current language.
#pragma once

#include <QTextBrowser>
#include <string>
#include <string_view>

class tHelpWindow : public QTextBrowser {
public:
    tHelpWindow();

    // Shows the document at path (Windows-1252 RTF); false when it cannot be read.
    bool ShowDocument(const std::string& path, const std::string& title);

    // The paragraphs of the RTF the help documents are written in, as HTML: headings by their
    // font size, bold, the code page's characters; font and colour tables are left out.
    static QString RtfToHtml(std::string_view rtf);
};
