#include "mainwnd/tHelpWindow.h"

#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/CurrentDirectory.h"

#include <cctype>
#include <cstdlib>
#include <optional>

tHelpWindow::tHelpWindow() {
    setWindowFlag(Qt::Window);
    setOpenExternalLinks(true);
    // The program's blues for the headings, and room around the text.
    document()->setDefaultStyleSheet("h1 { color: #1452e4; } h2 { color: #0a2870; } "
                                     "li { margin-bottom: 4px; }");
    document()->setDocumentMargin(18);
    resize(640, 680);
}

bool tHelpWindow::ShowDocument(const std::string& path, const std::string& title) {
    const std::optional<std::string> rtf = AtomicFile::Read(NativePath(path));
    if (!rtf || rtf->rfind("{\\rtf", 0) != 0)
        return false;
    setWindowTitle(ToQString(title));
    setHtml(RtfToHtml(*rtf));
    show();
    raise();
    activateWindow();
    return true;
}

QString tHelpWindow::RtfToHtml(std::string_view rtf) {
    QString html;
    std::string paragraph; // Windows-1252, with the HTML marks already in it
    int size = 22;         // half-points, as \fs gives them
    int paragraphSize = 0; // the size at the paragraph's first character
    int depth = 0;
    int skipFrom = -1; // the depth of a table being left out, or -1
    bool bold = false;
    bool hasText = false; // the paragraph has a character, not only marks
    auto text = [&](std::string_view characters) {
        if (!hasText)
            paragraphSize = size;
        hasText = true;
        paragraph += characters;
    };
    auto mark = [&](const char* html) { paragraph += html; };
    bool inList = false;
    auto endParagraph = [&] {
        if (bold)
            paragraph += "</b>";
        // A paragraph that begins with a bullet and a tab is an item of a list.
        const bool item = paragraph.rfind("\x95 ", 0) == 0;
        if (item)
            paragraph.erase(0, 2);
        if (hasText && item != inList) {
            html += item ? "<ul>\n" : "</ul>\n";
            inList = item;
        }
        const char* tag = item                  ? "li"
                          : paragraphSize >= 32 ? "h1"
                          : paragraphSize >= 26 ? "h2"
                                                : "p";
        if (hasText)
            html += QString("<%1>").arg(tag) + ToQString(paragraph) + QString("</%1>\n").arg(tag);
        paragraph.clear();
        hasText = false;
        if (bold)
            paragraph += "<b>";
    };
    for (size_t i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{') {
            ++depth;
            continue;
        }
        if (c == '}') {
            if (depth-- == skipFrom)
                skipFrom = -1;
            continue;
        }
        if (c == '\r' || c == '\n')
            continue;
        if (c != '\\') {
            if (skipFrom < 0)
                text(c == '<'   ? "&lt;"
                     : c == '>' ? "&gt;"
                     : c == '&' ? "&amp;"
                                : std::string(1, c));
            continue;
        }
        if (++i >= rtf.size())
            break;
        const char next = rtf[i];
        if (next == '\\' || next == '{' || next == '}') {
            if (skipFrom < 0)
                text(std::string(1, next));
            continue;
        }
        if (next == '\'') {
            if (i + 2 < rtf.size() && skipFrom < 0) {
                const std::string hex(rtf.substr(i + 1, 2));
                text(std::string(1, static_cast<char>(std::strtol(hex.c_str(), nullptr, 16))));
            }
            i += 2;
            continue;
        }
        if (!std::isalpha(static_cast<unsigned char>(next)))
            continue; // a control symbol we do not need
        size_t end = i;
        while (end < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[end])))
            ++end;
        const std::string_view word = rtf.substr(i, end - i);
        size_t digits = end;
        if (digits < rtf.size() && rtf[digits] == '-')
            ++digits;
        while (digits < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[digits])))
            ++digits;
        const std::string number(rtf.substr(end, digits - end));
        const bool hasNumber = !number.empty() && number != "-";
        i = digits;
        if (i < rtf.size() && rtf[i] != ' ')
            --i; // the delimiter belongs to the text
        if (word == "fonttbl" || word == "colortbl" || word == "stylesheet" || word == "info") {
            skipFrom = depth;
        } else if (skipFrom >= 0) {
        } else if (word == "par") {
            endParagraph();
        } else if (word == "tab") {
            text(" ");
        } else if (word == "fs" && hasNumber) {
            size = std::atoi(number.c_str());
        } else if (word == "b") {
            const bool on = !hasNumber || number != "0";
            if (on != bold)
                mark(on ? "<b>" : "</b>");
            bold = on;
        } else if (word == "line") {
            mark("<br>");
        }
    }
    endParagraph();
    if (inList)
        html += "</ul>\n";
    return html;
}
