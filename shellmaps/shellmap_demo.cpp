#include "shellmaps/shellmap_demo.h"

#include "core/paths.h"
#include "core/safe_write.h"
#include "shellmaps/shellmap_catalogue.h"
#include "shellmaps/shellmap_install.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <cmath>
#include <optional>
#include <vector>
#include <zip.h>

namespace marvok {
namespace {

struct Colour {
    int r, g, b;
};

Colour mix(Colour a, Colour b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {int(a.r + (b.r - a.r) * t), int(a.g + (b.g - a.g) * t), int(a.b + (b.b - a.b) * t)};
}

// A landscape: sky, a sun or a moon, hills, a line of buildings on the horizon and the ground.
struct Scene {
    Colour skyTop, skyHorizon, sun, hills, ground, groundNear, buildings;
    double sunX, sunY; // fractions of the picture
    unsigned seed;
};

constexpr int kWidth = 320;
constexpr int kHeight = 200;
constexpr int kHorizon = 118;

// A 24-bit Windows bitmap of the scene: header, then rows bottom-up, each padded to 4 bytes.
QByteArray paintBitmap(const Scene& scene) {
    const int rowSize = (kWidth * 3 + 3) & ~3;
    const int pixelBytes = rowSize * kHeight;
    QByteArray bmp(54 + pixelBytes, '\0');
    uchar* d = reinterpret_cast<uchar*>(bmp.data());
    d[0] = 'B';
    d[1] = 'M';
    qToLittleEndian<quint32>(quint32(bmp.size()), d + 2);
    qToLittleEndian<quint32>(54, d + 10);
    qToLittleEndian<quint32>(40, d + 14);
    qToLittleEndian<qint32>(kWidth, d + 18);
    qToLittleEndian<qint32>(kHeight, d + 22);
    qToLittleEndian<quint16>(1, d + 26);
    qToLittleEndian<quint16>(24, d + 28);
    qToLittleEndian<quint32>(quint32(pixelBytes), d + 34);
    qToLittleEndian<qint32>(2835, d + 38);
    qToLittleEndian<qint32>(2835, d + 42);

    // The buildings' outline, one height per column.
    std::vector<int> skyline(kWidth, 0);
    unsigned state = scene.seed;
    const auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return (state >> 16) & 0x7fff;
    };
    for (int x = 40 + int(next() % 30); x < kWidth - 20;) {
        const int width = 8 + int(next() % 14);
        const int height = 6 + int(next() % 22);
        for (int i = x; i < std::min(kWidth, x + width); ++i)
            skyline[i] = height;
        x += width + int(next() % 18);
    }

    const double sunX = scene.sunX * kWidth;
    const double sunY = scene.sunY * kHeight;
    for (int y = 0; y < kHeight; ++y) {
        uchar* row = d + 54 + (kHeight - 1 - y) * rowSize;
        for (int x = 0; x < kWidth; ++x) {
            const double hill = kHorizon - 14 - 10 * std::sin(x / 37.0 + scene.seed) - 6 * std::sin(x / 13.0);
            Colour c;
            if (y >= kHorizon) {
                const double t = double(y - kHorizon) / (kHeight - kHorizon);
                c = mix(scene.ground, scene.groundNear, t);
                // Furrows towards the viewer.
                if (((x + (y - kHorizon) * (x - kWidth / 2) / 40) / 6) % 2 == 0)
                    c = mix(c, scene.groundNear, 0.25);
            } else if (y >= kHorizon - skyline[x]) {
                c = scene.buildings;
                if (x % 5 == 2 && y % 6 == 3 && (x * 7 + y) % 3 == 0)
                    c = mix(scene.sun, scene.buildings, 0.3); // a lit window
            } else if (y >= hill) {
                c = mix(scene.hills, scene.ground, (y - hill) / 20.0);
            } else {
                c = mix(scene.skyTop, scene.skyHorizon, double(y) / kHorizon);
                const double distance = std::hypot(x - sunX, y - sunY);
                if (distance < 14)
                    c = scene.sun;
                else if (distance < 40)
                    c = mix(scene.sun, c, (distance - 14) / 26.0 * 0.5 + 0.5);
            }
            row[x * 3] = uchar(c.b);
            row[x * 3 + 1] = uchar(c.g);
            row[x * 3 + 2] = uchar(c.r);
        }
    }
    return bmp;
}

// The bytes of a map file: enough for the program, which only looks at the name.
QByteArray mapBytes(const char* title) {
    return QByteArray("CkMp") + QByteArray(title) + QByteArray(64, '\0');
}

const Scene kDesert{{70, 110, 170},
                    {236, 180, 120},
                    {255, 236, 170},
                    {170, 120, 70},
                    {196, 150, 96},
                    {150, 104, 60},
                    {60, 44, 36},
                    0.72,
                    0.34,
                    7u};
const Scene kStorm{{34, 40, 52},
                   {96, 108, 120},
                   {210, 220, 230},
                   {60, 72, 60},
                   {70, 90, 64},
                   {40, 56, 38},
                   {28, 30, 34},
                   0.2,
                   0.22,
                   11u};
const Scene kNightPort{{8, 12, 34},  {40, 52, 96}, {230, 230, 210}, {30, 36, 60},
                       {34, 40, 58}, {18, 22, 34}, {12, 14, 22},    0.8,
                       0.2,          23u};
const Scene kCanyon{{90, 150, 210},
                    {250, 200, 150},
                    {255, 245, 200},
                    {180, 80, 40},
                    {170, 96, 56},
                    {120, 60, 30},
                    {80, 40, 24},
                    0.3,
                    0.3,
                    31u};
const Scene kCanyonDusk{{60, 40, 90},
                        {240, 120, 80},
                        {255, 200, 120},
                        {120, 50, 40},
                        {140, 70, 50},
                        {90, 40, 30},
                        {50, 24, 20},
                        0.5,
                        0.5,
                        37u};
const Scene kIce{{120, 170, 220},
                 {220, 235, 245},
                 {255, 255, 240},
                 {200, 215, 230},
                 {230, 240, 250},
                 {180, 200, 220},
                 {90, 100, 120},
                 0.62,
                 0.28,
                 41u};

struct DemoFile {
    const char* name;
    QByteArray bytes;
};

struct DemoEntry {
    const char* name;
    const char* description;
    const char* url;
    const char* screenshot;
    std::vector<DemoFile> files;
};

// Writes the entry's folder and returns its catalogue values.
std::optional<CatalogueEntry> writeEntryFolder(const QString& installFolder, int index,
                                               const DemoEntry& entry, QString* error) {
    const QString folder = gameFolderPath(installFolder, entryFolderName(index));
    if (!QDir().mkpath(folder)) {
        *error = u"cannot create " + folder;
        return std::nullopt;
    }
    for (const DemoFile& file : entry.files) {
        if (!writeFileAtomically(joinPath(folder, QString::fromLatin1(file.name)), file.bytes, error))
            return std::nullopt;
    }
    return CatalogueEntry{catalogueDate(), joinPath(folder, QString::fromLatin1(entry.screenshot)),
                          QString::fromUtf8(entry.name), QString::fromUtf8(entry.description),
                          QString::fromUtf8(entry.url)};
}

bool writeDemoCatalogue(const QString& programFolder, GameKind game, const QString& installFolder,
                        const std::vector<DemoEntry>& entries, QString* error) {
    QList<CatalogueEntry> values;
    for (int index = 0; index < int(entries.size()); ++index) {
        const std::optional<CatalogueEntry> written =
            writeEntryFolder(installFolder, index, entries[index], error);
        if (!written)
            return false;
        values.append(*written);
    }
    return writeCatalogue(joinPath(programFolder, catalogueFileName(game)), values, error);
}

bool writeZip(const QString& path, const std::vector<DemoFile>& files, QString* error) {
    QFile::remove(path);
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_EXCL, &code);
    if (!archive) {
        *error = u"cannot create " + path;
        return false;
    }
    for (const DemoFile& file : files) {
        // libzip reads the buffers only at zip_close; `files` outlives it.
        zip_source_t* source =
            zip_source_buffer(archive, file.bytes.constData(), zip_uint64_t(file.bytes.size()), 0);
        if (!source || zip_file_add(archive, file.name, source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            *error = path + u": " + QString::fromLocal8Bit(zip_strerror(archive));
            zip_discard(archive);
            return false;
        }
    }
    if (zip_close(archive) != 0) {
        *error = path + u": " + QString::fromLocal8Bit(zip_strerror(archive));
        zip_discard(archive);
        return false;
    }
    return true;
}

} // namespace

bool addShellMapDemoContent(const QString& programFolder,
                            const std::array<QString, GameCount>& installFolders,
                            const QString& archivesFolder, QString* error) {
    const std::vector<DemoEntry> generals = {
        {"Désert d'Akbar",
         "Une colonne de blindés traverse le désert à la tombée du jour.",
         "http://www.example.org/shellmaps/akbar",
         "akbar.bmp",
         {{"ShellMap1.map", mapBytes("Akbar")}, {"akbar.bmp", paintBitmap(kDesert)}}},
        {"Tempête sur la côte",
         "Des hélicoptères survolent une base côtière pendant l'orage.",
         "http://www.example.org/shellmaps/tempete",
         "tempete.bmp",
         {{"ShellMap1.map", mapBytes("Tempete")}, {"tempete.bmp", paintBitmap(kStorm)}}},
    };
    const std::vector<DemoEntry> zeroHour = {
        {"Port de nuit",
         "Le port s'illumine sous les tirs de la défense antiaérienne.",
         "http://www.example.org/shellmaps/port",
         "port.bmp",
         {{"ShellMapMD.map", mapBytes("Port")}, {"port.bmp", paintBitmap(kNightPort)}}},
    };
    if (!writeDemoCatalogue(programFolder, Generals, installFolders[Generals], generals, error) ||
        !writeDemoCatalogue(programFolder, ZeroHour, installFolders[ZeroHour], zeroHour, error))
        return false;

    if (!QDir().mkpath(archivesFolder)) {
        *error = u"cannot create " + archivesFolder;
        return false;
    }
    // The files sit in a folder inside the archive; the installer drops it.
    const std::vector<DemoFile> canyon = {
        {"Canyon/ShellMap1.map", mapBytes("Canyon")},
        {"Canyon/canyon.bmp", paintBitmap(kCanyon)},
        {"Canyon/canyon-soir.bmp", paintBitmap(kCanyonDusk)},
    };
    const std::vector<DemoFile> ice = {
        {"Banquise/ShellMapMD.map", mapBytes("Banquise")},
        {"Banquise/banquise.bmp", paintBitmap(kIce)},
    };
    return writeZip(joinPath(archivesFolder, QStringLiteral("ShellMap Generals - Canyon.zip")), canyon,
                    error) &&
           writeZip(joinPath(archivesFolder, QStringLiteral("ShellMap Heure H - Banquise.zip")), ice, error);
}

} // namespace marvok
