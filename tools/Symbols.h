// The control symbols, the picture shown when nobody is selected, and the program's icon.
#pragma once

#include <QImage>
#include <string>
#include <vector>

struct tSymbol {
    std::string m_Name; // file name below Cal_Data, such as "inc.bmp"
    QImage m_Picture;
};

std::vector<tSymbol> DrawSymbols();
QImage DrawDefaultPicture();
// The icon at a size (16 to 256), smooth, with transparency.
QImage DrawIcon(int size);
