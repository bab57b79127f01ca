#include "big/big_demo.h"

#include "big/big_archive.h"
#include "core/paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <utility>

namespace marvok {
namespace {

using Entries = QList<std::pair<QString, QByteArray>>;

QByteArray iniText(const char* text) {
    // The games' INI files have Windows line ends.
    return QByteArray(text).replace("\n", "\r\n");
}

const char kGameData[] = R"(; Marvok demo: a few of the settings a mod changes
GameData
  ShellMapName = Maps\ShellMap1\ShellMap1.map
  MaxCameraHeight = 450.0
  MinCameraHeight = 120.0
  CameraPitch = 37.5
  UseFPSLimit = Yes
  FramesPerSecondLimit = 30
End
)";

const char kVehicle[] = R"(Object AmericaTankCrusader
  DisplayName = OBJECT:Crusader
  Side = America
  EditorSorting = VEHICLE
  BuildCost = 900
  BuildTime = 10.0
  VisionRange = 150
  ArmorSet
    Conditions = None
    Armor = TankArmor
  End
End
)";

const char kInfantry[] = R"(Object ChinaInfantryRedguard
  DisplayName = OBJECT:Redguard
  Side = China
  EditorSorting = INFANTRY
  BuildCost = 300
  BuildTime = 5.0
End
)";

const char kWeapon[] = R"(Weapon CrusaderTankGun
  PrimaryDamage = 60.0
  PrimaryDamageRadius = 5.0
  AttackRange = 150.0
  DamageType = ARMOR_PIERCING
  DelayBetweenShots = 2000
End
)";

const char kReadme[] = R"(Exemple Marvok
==============
Une archive faite par Marvok pour essayer la page BIG Editor : ouvrez les dossiers,
cliquez sur une image pour la voir dans la fenetre Apercu, cochez des fichiers et
extrayez-les, ou ajoutez les votres et enregistrez une nouvelle archive.
)";

bool writeArchive(const QString& path, const Entries& entries, const QString& sources, QString* error) {
    SaveList list;
    for (int k = 0; k < entries.size(); ++k) {
        const QString source = joinPath(sources, QString::number(k));
        QFile file(source);
        if (!file.open(QIODevice::WriteOnly) || file.write(entries[k].second) != entries[k].second.size()) {
            if (error)
                *error = u"cannot write " + source;
            return false;
        }
        list.append(SaveItem::fromFile(source, entries[k].first));
    }
    ArchiveFailure failure;
    if (WriteArchive(path, list, ArchiveEntries(), QString(), nullptr, &failure))
        return true;
    if (error)
        *error = failure.details.description;
    return false;
}

} // namespace

QByteArray demoTgaPicture(int width, int height) {
    QByteArray picture(18, '\0');
    picture[2] = 2; // uncompressed true colour
    picture[12] = char(width & 0xff);
    picture[13] = char(width >> 8);
    picture[14] = char(height & 0xff);
    picture[15] = char(height >> 8);
    picture[16] = 24;
    picture[17] = 0x20; // top row first
    picture.reserve(18 + qsizetype(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int dx = std::abs(2 * x - width) * 100 / width;
            const int dy = std::abs(2 * y - height) * 100 / height;
            const bool diamond = dx + dy < 60;
            const bool rim = !diamond && dx + dy < 68;
            const int shade = 255 * y / std::max(1, height - 1);
            // Blue, green, red.
            const char pixel[3] = {
                char(diamond ? 40
                     : rim   ? 250
                             : 120 + shade / 2),
                char(diamond ? 170
                     : rim   ? 250
                             : 60 + shade / 4),
                char(diamond ? 250
                     : rim   ? 250
                             : 20),
            };
            picture.append(pixel, 3);
        }
    }
    return picture;
}

bool addBigDemoContent(const QString& gameFolder, const QString& documentsFolder, QString* error) {
    QTemporaryDir sources;
    if (!sources.isValid()) {
        if (error)
            *error = u"cannot make a temporary folder: " + sources.errorString();
        return false;
    }
    if (!QDir().mkpath(gameFolder) || !QDir().mkpath(documentsFolder)) {
        if (error)
            *error = u"cannot make " + gameFolder + u" or " + documentsFolder;
        return false;
    }
    const QByteArray logo = demoTgaPicture(128, 96);
    const Entries mod = {
        {QStringLiteral("Data\\INI\\GameData.ini"), iniText(kGameData)},
        {QStringLiteral("Data\\INI\\Object\\AmericaTankCrusader.ini"), iniText(kVehicle)},
        {QStringLiteral("Art\\Textures\\MarvokLogo.tga"), logo},
    };
    const Entries sample = {
        {QStringLiteral("Lisez-moi.txt"), iniText(kReadme)},
        {QStringLiteral("Data\\INI\\GameData.ini"), iniText(kGameData)},
        {QStringLiteral("Data\\INI\\Weapon.ini"), iniText(kWeapon)},
        {QStringLiteral("Data\\INI\\Object\\AmericaTankCrusader.ini"), iniText(kVehicle)},
        {QStringLiteral("Data\\INI\\Object\\ChinaInfantryRedguard.ini"), iniText(kInfantry)},
        {QStringLiteral("Art\\Textures\\MarvokLogo.tga"), logo},
        {QStringLiteral("Art\\Textures\\Terrain\\Desert.tga"), demoTgaPicture(64, 64)},
        {QStringLiteral("Art\\Textures\\Terrain\\Banner.tga"), demoTgaPicture(200, 50)},
    };
    return writeArchive(joinPath(gameFolder, BigDemoModFileName), mod, sources.path(), error) &&
           writeArchive(joinPath(documentsFolder, BigDemoSampleFileName), sample, sources.path(), error);
}

} // namespace marvok
