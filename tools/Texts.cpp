#include "tools/Texts.h"

#include "platform/CodePage.h"

#include <QStringList>

namespace {

bool ToCodePage(const QString& text, std::string& out, QString* error) {
    for (char32_t c : text.toUcs4()) {
        const int byte = CodePage::FromUnicode(c);
        if (byte < 0) {
            *error = QString("character U+%1 is not in Windows-1252")
                         .arg(static_cast<uint>(c), 4, 16, QChar('0'));
            return false;
        }
        out += static_cast<char>(byte);
    }
    return true;
}

// Escapes text for RTF, turning **bold** and `literal` into formatting.
bool RtfInline(const QString& text, std::string& out, QString* error) {
    bool bold = false, literal = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '*' && i + 1 < text.size() && text[i + 1] == '*') {
            out += bold ? "\\b0 " : "\\b ";
            bold = !bold;
            ++i;
            continue;
        }
        if (c == '`') {
            out += literal ? "\\f0 " : "\\f1 ";
            literal = !literal;
            continue;
        }
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += static_cast<char>(c.unicode());
            continue;
        }
        std::string byte;
        if (!ToCodePage(QString(c), byte, error))
            return false;
        const unsigned char b = static_cast<unsigned char>(byte[0]);
        if (b < 0x80) {
            out += static_cast<char>(b);
        } else {
            static const char* hex = "0123456789abcdef";
            out += "\\'";
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    if (bold)
        out += "\\b0 ";
    if (literal)
        out += "\\f0 ";
    return true;
}

} // namespace

std::string MakeLanguageFile(const QString& source, QString* error) {
    std::string out;
    for (const QString& raw : source.split('\n')) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        QString written = line;
        if (!line.startsWith('[') && !line.startsWith(';')) {
            const qsizetype equals = line.indexOf('=');
            if (equals <= 0) {
                *error = "not a key line: " + line;
                return {};
            }
            written = line.left(equals).trimmed() + "=" + line.mid(equals + 1).trimmed();
        }
        if (!ToCodePage(written, out, error))
            return {};
        out += "\r\n";
    }
    return out;
}

std::string MakeHelpDocument(const QString& source, QString* error) {
    std::string out =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0"
        "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fmodern\\fcharset0 Courier New;}}\r\n"
        "{\\colortbl ;\\red20\\green82\\blue228;\\red10\\green40\\blue112;}\r\n"
        "\\viewkind4\\uc1\\f0\\fs22\r\n";
    QStringList paragraph;
    auto flush = [&]() -> bool {
        if (paragraph.isEmpty())
            return true;
        out += "\\pard\\sb60\\sa140\\sl276\\slmult1 ";
        if (!RtfInline(paragraph.join(' '), out, error))
            return false;
        out += "\\par\r\n";
        paragraph.clear();
        return true;
    };
    for (const QString& raw : source.split('\n')) {
        const QString line = raw.trimmed();
        bool ok = true;
        if (line.isEmpty()) {
            ok = flush();
        } else if (line.startsWith("## ")) {
            ok = flush();
            out += "\\pard\\sb240\\sa100\\keepn\\cf2\\b\\fs26 ";
            ok = ok && RtfInline(line.mid(3), out, error);
            out += "\\b0\\fs22\\cf0\\par\r\n";
        } else if (line.startsWith("# ")) {
            ok = flush();
            out += "\\pard\\sa240\\cf1\\b\\fs36 ";
            ok = ok && RtfInline(line.mid(2), out, error);
            out += "\\b0\\fs22\\cf0\\par\r\n";
        } else if (line.startsWith("- ")) {
            ok = flush();
            out += "\\pard\\fi-280\\li560\\sa80\\tx560 \\'95\\tab ";
            ok = ok && RtfInline(line.mid(2), out, error);
            out += "\\par\r\n";
        } else {
            paragraph << line;
        }
        if (!ok)
            return {};
    }
    if (!flush())
        return {};
    out += "}\r\n";
    return out;
}
