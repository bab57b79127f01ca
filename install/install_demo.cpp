#include "install/install_demo.h"

#include "big/big_archive.h"
#include "core/paths.h"
#include "replays/replay_writer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <ctime>
#include <vector>
#include <zip.h>

namespace marvok {
namespace {

struct PackedFile {
    QByteArray name; // UTF-8, "/" between folders
    QByteArray bytes;
    QDateTime modified; // invalid: when the archive is written
};

// A map file as the world builder starts it ("CkMp", the table of names follows).
QByteArray mapBytes(const QByteArray& name) {
    return "CkMp" + QByteArray(12, '\0') + name;
}

// A 24-bit uncompressed TGA preview of one colour with a lighter band: header, then rows bottom-up.
QByteArray previewBytes(quint8 r, quint8 g, quint8 b) {
    constexpr int size = 64;
    QByteArray tga(18, '\0');
    tga[2] = 2;
    qToLittleEndian<quint16>(size, tga.data() + 12);
    qToLittleEndian<quint16>(size, tga.data() + 14);
    tga[16] = 24;
    for (int y = 0; y < size; ++y) {
        const int light = (y > 24 && y < 40) ? 50 : 0;
        for (int x = 0; x < size; ++x) {
            tga.append(char(std::min(255, b + light)));
            tga.append(char(std::min(255, g + light)));
            tga.append(char(std::min(255, r + light)));
        }
    }
    return tga;
}

QByteArray mapIni(const QByteArray& name) {
    return "; " + name + "\r\nObject PlayerStartMarker\r\n  Side = Neutral\r\nEnd\r\n";
}

std::vector<PackedFile> mapPack() {
    std::vector<PackedFile> files = {
        {"Lisez-moi.txt",
         "Trois cartes pour deux a quatre joueurs.\r\nDecompressez le dossier Maps dans le dossier de "
         "donnees du jeu, ou ouvrez ce fichier avec Marvok.\r\n",
         {}},
        // A folder of notes holds no map of its own name: it is no map.
        {"Maps/Brouillons/idees.txt", "Une carte de montagne, un jour.\r\n", {}},
    };
    const struct {
        const char* name;
        quint8 r, g, b;
    } maps[] = {{"Oasis", 196, 160, 90}, {"Col du Loup", 120, 140, 160}, {"Delta", 70, 130, 80}};
    for (const auto& map : maps) {
        const QByteArray name(map.name);
        const QByteArray folder = "Maps/" + name + '/';
        files.push_back({folder + name + ".map", mapBytes(name), {}});
        files.push_back({folder + name + ".tga", previewBytes(map.r, map.g, map.b), {}});
        files.push_back({folder + "map.ini", mapIni(name), {}});
    }
    return files;
}

std::vector<PackedFile> replayPack() {
    const struct {
        const char* path;
        const char* title;
        const char* mapPath;
        const char* slotList;
        QDate played;
        int minutes;
    } replays[] = {
        {"Replays/Tournoi/Finale.rep",
         "Finale",
         "03maps/tournament desert",
         "HAnna,C0A80002,8088,TT,0,6,0,0,1:HBruno,C0A80003,8088,TT,1,9,1,1,1:X:X:X:X:X:X",
         {2024, 9, 14},
         37},
        {"Replays/Tournoi/Demi-finale.rep",
         "Demi-finale",
         "03maps/winter wolf",
         "HAnna,C0A80002,8088,TT,0,5,0,0,1:HMarc,C0A80005,8088,TT,2,12,1,1,1:X:X:X:X:X:X",
         {2024, 9, 13},
         29},
        {"Replays/Duel du soir.rep",
         "Duel du soir",
         "03userdata/maps/oasis",
         "HLéa,C0A80004,8088,TT,0,7,0,0,1:CH,1,10,1,1:HBruno,C0A80003,8088,TT,2,8,2,0,1:CM,3,11,3,1:X:X:X:X",
         {2024, 9, 20},
         44},
    };
    std::vector<PackedFile> files = {
        {"Lisez-moi.txt", "Les replays du tournoi de septembre (Heure H 1.04).\r\n", {}}};
    for (const auto& replay : replays) {
        ReplayRecording recording;
        recording.game = ZeroHour;
        recording.startTime = QDateTime(replay.played, QTime(20, 30));
        recording.endTime = recording.startTime.addSecs(60 * replay.minutes);
        recording.frameCount = quint32(replay.minutes * 60 * 30);
        recording.title = QString::fromUtf8(replay.title);
        recording.gameInformation = gameInformationText(ZeroHour, replay.mapPath, replay.slotList);
        // The archive keeps the date the game gave the file; the replay list shows it.
        files.push_back({replay.path, replayBytes(recording), recording.endTime});
    }
    return files;
}

bool modPack(std::vector<PackedFile>& files, QString* error) {
    QTemporaryDir work;
    if (!work.isValid()) {
        *error = QStringLiteral("Impossible de créer un dossier temporaire.");
        return false;
    }
    const struct {
        const char* file;
        const char* entry;
        const char* text;
    } sources[] = {
        {"GameData.ini", "Data\\INI\\GameData.ini", "GameData\r\n  MaxCameraHeight = 500.0\r\nEnd\r\n"},
        {"Weather.ini", "Data\\INI\\Weather.ini", "Weather\r\n  SnowEnabled = Yes\r\nEnd\r\n"},
        {"Lisez-moi.txt", "Data\\Lisez-moi.txt", "Hiver rouge : la neige sur toutes les cartes.\r\n"},
    };
    SaveList list;
    for (const auto& source : sources) {
        const QString path = joinPath(work.path(), QString::fromLatin1(source.file));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(source.text) < 0) {
            *error = path + QStringLiteral(" : ") + file.errorString();
            return false;
        }
        list.append(SaveItem::fromFile(path, QString::fromLatin1(source.entry)));
    }
    const QString big = joinPath(work.path(), QStringLiteral("Hiver rouge.big"));
    ArchiveFailure failure;
    if (!WriteArchive(big, list, ArchiveEntries(), QString(), nullptr, &failure)) {
        *error = big + QStringLiteral(" : ") + failure.details.description;
        return false;
    }
    QFile written(big);
    if (!written.open(QIODevice::ReadOnly)) {
        *error = big + QStringLiteral(" : ") + written.errorString();
        return false;
    }
    files.push_back({"Hiver rouge.big", written.readAll(), {}});
    files.push_back({"Lisez-moi.txt", "Copiez Hiver rouge.big dans le dossier du jeu.\r\n", {}});
    return true;
}

bool writeZip(const QString& path, const std::vector<PackedFile>& files, QString* error) {
    // libzip writes a temporary file beside `path` and puts it in place at zip_close.
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) {
        *error = QStringLiteral("Impossible de créer ") + path;
        return false;
    }
    const auto fail = [&] {
        *error = path + QStringLiteral(" : ") + QString::fromLocal8Bit(zip_strerror(archive));
        zip_discard(archive);
        return false;
    };
    for (const PackedFile& file : files) {
        // libzip reads the buffers only at zip_close; `files` outlives it.
        zip_source_t* source =
            zip_source_buffer(archive, file.bytes.constData(), zip_uint64_t(file.bytes.size()), 0);
        const zip_int64_t index =
            source ? zip_file_add(archive, file.name.constData(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            zip_source_free(source);
            return fail();
        }
        if (file.modified.isValid() && zip_file_set_mtime(archive, zip_uint64_t(index),
                                                          time_t(file.modified.toSecsSinceEpoch()), 0) != 0)
            return fail();
    }
    if (zip_close(archive) != 0)
        return fail();
    return true;
}

} // namespace

bool writeInstallDemoArchives(const QString& folder, QString* error) {
    QString ignored;
    QString& reason = error ? *error : ignored;
    if (!QDir().mkpath(folder)) {
        reason = QStringLiteral("Impossible de créer le dossier ") + folder;
        return false;
    }
    std::vector<PackedFile> mod;
    return writeZip(joinPath(folder, QStringLiteral("Pack de cartes.zip")), mapPack(), &reason) &&
           writeZip(joinPath(folder, QStringLiteral("Pack de replays.zip")), replayPack(), &reason) &&
           modPack(mod, &reason) &&
           writeZip(joinPath(folder, QStringLiteral("Mod Hiver rouge.zip")), mod, &reason);
}

} // namespace marvok
