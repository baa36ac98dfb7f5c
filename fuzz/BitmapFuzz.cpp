// Any file handed to the picture loader: it never reads or writes outside its block, and a
// picture it accepts can be drawn.
#include "image/tDib.h"
#include "platform/MessageBox.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SetMessageBoxHandler([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    tDib picture;
    if (picture.Load(buffer)) {
        QImage target(24, 24, QImage::Format_RGB32);
        QPainter painter(&target);
        const CRect area(0, 0, 24, 24);
        picture.DrawCentred(&painter, &area);
        picture.Draw(&painter, CRect(3, 3, 20, 11));
        picture.GetPixelColour(picture.GetWidth() - 1, 0);
    }
    return 0;
}
