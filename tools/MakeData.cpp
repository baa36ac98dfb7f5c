// Makes the installation data: the person pictures, the control symbols, the default picture,
// the alarm sound, the language file, the help documents and the icon.
//
//   zembrola_make_data --texts tools/texts --out .            remake Cal_Data/ and resources/
//   zembrola_make_data ... --contact-sheet sheet.png          also draw every picture on one sheet
//
// Running it again gives byte-identical files.
#include "tools/Chime.h"
#include "tools/Palette8.h"
#include "tools/Portraits.h"
#include "tools/Symbols.h"
#include "tools/Texts.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <map>

namespace {

const char* const kHelpLanguages[] = {"Eng", "Dut", "Fre", "Ger", "Ita", "Spa"};
const int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

bool WriteBytes(const QString& path, const std::string& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size())) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QString ReadSource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

std::string PngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

void Put16(std::string& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}
void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// The 32 x 32 icon with 16 colours, as a Windows icon image: header, palette, 4-bit colour
// rows and the 1-bit transparency mask.
std::string SixteenColourIconImage(const QImage& icon) {
    std::map<QRgb, long long> counts;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (qAlpha(icon.pixel(x, y)) >= 128)
                ++counts[icon.pixel(x, y) | 0xFF000000u];
    std::vector<QRgb> colours = MedianCut({counts.begin(), counts.end()}, 15);
    colours.insert(colours.begin(), qRgb(0, 0, 0)); // index 0 under the mask
    colours.resize(16, qRgb(0, 0, 0));
    tColourMapper mapper(std::vector<QRgb>(colours.begin() + 1, colours.end()));
    std::string out;
    Put32(out, 40);
    Put32(out, 32);
    Put32(out, 64); // colour rows and mask rows
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, 0);
    Put32(out, 32 * 16 + 32 * 4);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 16);
    Put32(out, 0);
    for (QRgb colour : colours) {
        out += static_cast<char>(qBlue(colour));
        out += static_cast<char>(qGreen(colour));
        out += static_cast<char>(qRed(colour));
        out += '\0';
    }
    for (int y = 31; y >= 0; --y)
        for (int x = 0; x < 32; x += 2) {
            auto index = [&](int px) {
                const QRgb pixel = icon.pixel(px, y);
                return qAlpha(pixel) >= 128 ? 1 + mapper.Nearest(pixel) : 0;
            };
            out += static_cast<char>(index(x) << 4 | index(x + 1));
        }
    for (int y = 31; y >= 0; --y)
        for (int x = 0; x < 32; x += 8) {
            int bits = 0;
            for (int b = 0; b < 8; ++b)
                if (qAlpha(icon.pixel(x + b, y)) < 128)
                    bits |= 0x80 >> b;
            out += static_cast<char>(bits);
        }
    return out;
}

// An icon file: the 16-colour 32 x 32 image first, then PNG images of the other sizes.
std::string IconFile(const std::map<int, QImage>& icons) {
    std::vector<std::pair<int, std::string>> images;
    images.emplace_back(32, SixteenColourIconImage(icons.at(32)));
    for (int size : {16, 48, 256})
        images.emplace_back(size, PngBytes(icons.at(size)));
    std::string out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int size = images[i].first;
        out += static_cast<char>(size == 256 ? 0 : size);
        out += static_cast<char>(size == 256 ? 0 : size);
        out += static_cast<char>(i == 0 ? 16 : 0);
        out += '\0';
        Put16(out, 1);
        Put16(out, i == 0 ? 4 : 32);
        Put32(out, static_cast<uint32_t>(images[i].second.size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(images[i].second.size());
    }
    for (const auto& image : images)
        out += image.second;
    return out;
}

QImage ContactSheet(const std::vector<std::pair<QString, std::string>>& bitmaps) {
    const int cell = 196, columns = 8;
    const int rows = static_cast<int>((bitmaps.size() + columns - 1) / columns);
    QImage sheet(columns * cell, rows * (cell + 16), QImage::Format_RGB32);
    sheet.fill(QColor(127, 159, 240));
    QPainter painter(&sheet);
    for (size_t i = 0; i < bitmaps.size(); ++i) {
        const QImage picture =
            QImage::fromData(QByteArray::fromStdString(bitmaps[i].second), "BMP");
        const int x = static_cast<int>(i % columns) * cell,
                  y = static_cast<int>(i / columns) * (cell + 16);
        painter.drawImage(x + (cell - picture.width()) / 2, y + (cell - picture.height()) / 2,
                          picture);
        painter.setPen(QColor(10, 40, 112));
        painter.drawText(QRect(x, y + cell - 4, cell, 18), Qt::AlignCenter, bitmaps[i].first);
    }
    return sheet;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    QString texts = "tools/texts", out = ".", sheet;
    const QStringList arguments = application.arguments();
    for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments[i] == "--texts")
            texts = arguments[i + 1];
        else if (arguments[i] == "--out")
            out = arguments[i + 1];
        else if (arguments[i] == "--contact-sheet")
            sheet = arguments[i + 1];
    }

    const std::vector<QImage> men = DrawMen(), women = DrawWomen();
    const std::vector<tSymbol> symbols = DrawSymbols();
    const QImage defaultPicture = DrawDefaultPicture();

    // m001 carries the shared colour table; every picture is written with it.
    std::vector<const QImage*> all;
    for (const QImage& picture : men)
        all.push_back(&picture);
    for (const QImage& picture : women)
        all.push_back(&picture);
    for (const tSymbol& symbol : symbols)
        all.push_back(&symbol.m_Picture);
    all.push_back(&defaultPicture);
    const std::vector<QRgb> exact = {qRgb(127, 159, 240), qRgb(255, 255, 255), qRgb(0, 0, 0),
                                     qRgb(219, 219, 219), qRgb(10, 40, 112),   qRgb(20, 82, 228),
                                     qRgb(255, 123, 47),  qRgb(255, 255, 0),   qRgb(96, 133, 219),
                                     qRgb(255, 0, 0)};
    const std::vector<QRgb> colours = BuildSharedColours(all, exact);
    tColourMapper mapper(colours);

    std::vector<std::pair<QString, std::string>> bitmaps;
    for (size_t i = 0; i < men.size(); ++i)
        bitmaps.emplace_back(QString("Images/m%1.bmp").arg(i, 3, 10, QChar('0')),
                             Bitmap8Bytes(men[i], mapper, colours));
    for (size_t i = 0; i < women.size(); ++i)
        bitmaps.emplace_back(QString("Images/f%1.bmp").arg(i, 3, 10, QChar('0')),
                             Bitmap8Bytes(women[i], mapper, colours));
    bitmaps.emplace_back("DefImage.bmp", Bitmap8Bytes(defaultPicture, mapper, colours));
    for (const tSymbol& symbol : symbols)
        bitmaps.emplace_back(QString::fromStdString(symbol.m_Name),
                             Bitmap8Bytes(symbol.m_Picture, mapper, colours));

    bool ok = true;
    for (const auto& [name, bytes] : bitmaps)
        ok = WriteBytes(out + "/Cal_Data/" + name, bytes) && ok;
    ok = WriteBytes(out + "/Cal_Data/Alarm01.wav", MakeChime()) && ok;

    QString error;
    const std::string language = MakeLanguageFile(ReadSource(texts + "/Language.txt"), &error);
    if (language.empty()) {
        std::fprintf(stderr, "Language.txt: %s\n", qPrintable(error));
        return 1;
    }
    ok = WriteBytes(out + "/Cal_Data/Language.txt", language) && ok;
    for (const char* code : kHelpLanguages) {
        const std::string help =
            MakeHelpDocument(ReadSource(texts + "/Help-" + code + ".txt"), &error);
        if (help.empty()) {
            std::fprintf(stderr, "Help-%s.txt: %s\n", code, qPrintable(error));
            return 1;
        }
        ok = WriteBytes(out + "/Cal_Data/" + code + ".rtf", help) && ok;
    }

    std::map<int, QImage> icons;
    for (int size : kIconSizes) {
        icons[size] = DrawIcon(size);
        ok = WriteBytes(QString("%1/resources/icons/zembrola-%2.png").arg(out).arg(size),
                        PngBytes(icons[size])) &&
             ok;
    }
    ok = WriteBytes(out + "/resources/zembrola.ico", IconFile(icons)) && ok;

    if (!sheet.isEmpty()) {
        ok = ContactSheet(bitmaps).save(sheet) && ok;
    }
    return ok ? 0 : 1;
}
