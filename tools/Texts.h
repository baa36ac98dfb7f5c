// The language file and the help documents, made from UTF-8 sources in tools/texts.
#pragma once

#include <QString>
#include <string>

// The sources use "key = text" lines under "[Language]" headers and ";" comments; the result
// is Windows-1252 with CRLF line ends.  Fails (empty result, reason in *error) on a character
// outside the code page.
std::string MakeLanguageFile(const QString& source, QString* error);

// A small markup: "# " title, "## " heading, "- " list item, blank lines between paragraphs,
// **bold** and `literal` inside a line.  The result is an RTF document.
std::string MakeHelpDocument(const QString& source, QString* error);
