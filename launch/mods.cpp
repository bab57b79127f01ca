#include "launch/mods.h"

#include "core/paths.h"

#include <QFile>

namespace marvok {

const QString& ownArchives(GameKind game) {
    static const QString lists[GameCount] = {
        QStringLiteral(
            ";Audio.big;;AudioFrench.big;;French.big;;INI.big;;Maps.big;;Music.big;;shaders.big;"
            ";Speech.big;;SpeechFrench.big;;Patch.big;;Terrain.big;;Textures.big;;W3D.big;;Window.big;"
            ";Gensec.big;"),
        QStringLiteral(
            ";AudioZH.big;;AudioFrenchZH.big;;FrenchZH.big;;INIZH.big;;MapsZH.big;;Music.big;"
            ";MusicZH.big;;PatchZH.big;;W3DFrenchZH.big;;shadersZH.big;;SpeechZH.big;"
            ";SpeechFrenchZH.big;;TerrainZH.big;;TexturesZH.big;;W3DZH.big;;WindowZH.big;;GensecZH.big;"),
        QStringLiteral(
            ";AmbientStreams.big;;Audio.big;;Bases.big;;Data.big;;EnglishAudio.big;;FrenchAudio.big;"
            ";French.big;;INI.big;;Libraries.big;;lotrsec.big;;Maps.big;;Music.big;;Shaders.big;"
            ";Terrain.big;;Textures.big;;W3D.big;;Window.big;"),
    };
    return lists[game];
}

bool isOwnArchive(GameKind game, const QString& fileName) {
    return ownArchives(game).contains(u';' + fileName + u';', Qt::CaseInsensitive);
}

QStringList listModArchives(const QString& installFolder, GameKind game) {
    if (installFolder.isEmpty())
        return {};
    QStringList mods;
    for (const QString& name : listFolder(installFolder, QStringLiteral("*.big"), EntryKind::Files)) {
        if (!isOwnArchive(game, name))
            mods << name;
    }
    return mods;
}

QString modDescriptionPath(const QString& installFolder, const QString& modName) {
    return joinPath(installFolder, modName + u".ini");
}

QString modArchivePath(const QString& installFolder, const QString& modName) {
    return joinPath(installFolder, modName + u".big");
}

bool deleteModArchive(const QString& installFolder, const QString& modName, QString* error) {
    QFile archive(modArchivePath(installFolder, modName));
    if (archive.remove())
        return true;
    *error = archive.errorString();
    return false;
}

} // namespace marvok
