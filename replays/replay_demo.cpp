#include "replays/replay_demo.h"

#include "core/paths.h"
#include "replays/replay_writer.h"

#include <QDir>
#include <QFile>

namespace marvok {
namespace {

struct SampleReplay {
    const char* title; // UTF-8
    const char* mapPath;
    const char* slotList;
    QDate played;
    int minutes;
};

// Humans are "HName,ip,port,TT,colour,faction,start,team,1", computers "CE|CM|CH,colour,faction,
// start,team"; faction -1 is random, -2 an observer.
const SampleReplay kGenerals[] = {
    {"Duel au désert",
     "03maps/tournament desert",
     "HAnna,C0A80002,8088,TT,0,2,0,0,1:HBruno,C0A80003,8088,TT,1,3,1,1,1:X:X:X:X:X:X",
     {2024, 3, 5},
     24},
    {"Deux contre deux",
     "03maps/alpine assault",
     "HAnna,C0A80002,8088,TT,0,2,0,0,1:CH,1,4,1,1:HLéa,C0A80004,8088,TT,2,3,2,0,1:CM,3,-1,3,1:X:X:X:X",
     {2024, 3, 12},
     41},
    {"Entraînement",
     "03maps/twilight flame",
     "HAnna,C0A80002,8088,TT,0,4,0,-1,1:CE,1,2,1,-1:CM,2,3,2,-1:CH,3,4,3,-1:O:O:X:X",
     {2024, 4, 2},
     33},
    {"Finale commentée",
     "03userdata/maps/defcon6",
     "HAnna,C0A80002,8088,TT,0,2,0,0,1:HBruno,C0A80003,8088,TT,1,4,1,1,1:"
     "HMarc,C0A80005,8088,TT,-1,-2,-1,-1,1:X:X:X:X:X",
     {2024, 4, 20},
     52},
};

const SampleReplay kZeroHour[] = {
    {"Généraux en duel",
     "03maps/tournament urban",
     "HAnna,C0A80002,8088,TT,0,6,0,0,1:HBruno,C0A80003,8088,TT,1,9,1,1,1:X:X:X:X:X:X",
     {2024, 5, 3},
     29},
    {"Trois généraux contre l'IA",
     "03maps/winter wolf",
     "HAnna,C0A80002,8088,TT,0,5,0,0,1:HLéa,C0A80004,8088,TT,2,12,1,0,1:HBruno,C0A80003,8088,TT,4,8,2,0,1:"
     "CH,1,11,3,1:CM,3,13,4,1:CE,5,10,5,1:O:X",
     {2024, 5, 18},
     64},
    {"Escarmouche observée",
     "03userdata/maps/defcon6",
     "HAnna,C0A80002,8088,TT,0,7,0,0,1:CH,1,-1,1,1:HMarc,C0A80005,8088,TT,-1,-2,-1,-1,1:CM,2,2,2,-1:O:X:X:X",
     {2024, 6, 1},
     38},
    {"Tous contre tous",
     "03maps/manic aggression",
     "HAnna,C0A80002,8088,TT,0,-1,0,-1,1:CE,4,3,1,-1:CM,6,4,2,-1:CH,7,5,3,-1:X:X:X:X",
     {2024, 6, 9},
     45},
};

const SampleReplay kBattleForMiddleEarth[] = {
    {"Gondor contre Mordor",
     "maps/fords of isen",
     "HAnna,C0A80002,8088,TT,0,4,0,0,1:HBruno,C0A80003,8088,TT,1,6,1,1,1:X:X:X:X:X:X",
     {2024, 7, 4},
     36},
    {"Rohan et Isengard",
     "maps/helms deep",
     "HAnna,C0A80002,8088,TT,0,3,0,0,1:HLéa,C0A80004,8088,TT,2,5,1,0,1:CH,1,6,2,1:CM,3,4,3,1:"
     "HMarc,C0A80005,8088,TT,-1,-2,-1,-1,1:O:X:X",
     {2024, 7, 21},
     58},
    {"Première partie",
     "maps/rohan",
     "HAnna,C0A80002,8088,TT,0,3,0,-1,1:CE,1,5,1,-1:O:X:X:X:X:X",
     {2024, 8, 2},
     21},
};

struct GameSamples {
    const SampleReplay* first;
    const SampleReplay* last;
    const char* versionText;
};

GameSamples samplesOf(GameKind game) {
    switch (game) {
    case Generals:
        return {std::begin(kGenerals), std::end(kGenerals), "Version 1.08"};
    case ZeroHour:
        return {std::begin(kZeroHour), std::end(kZeroHour), "Version 1.04"};
    case BattleForMiddleEarth:
        break;
    }
    return {std::begin(kBattleForMiddleEarth), std::end(kBattleForMiddleEarth), "Version 1.03"};
}

} // namespace

bool addReplayDemoContent(const QString& replaysFolder, GameKind game, QString* error) {
    if (!QDir().mkpath(replaysFolder)) {
        if (error)
            *error = u"Impossible de créer le dossier « " + replaysFolder + u" ».";
        return false;
    }
    const GameSamples samples = samplesOf(game);
    for (const SampleReplay* sample = samples.first; sample != samples.last; ++sample) {
        const QString title = QString::fromUtf8(sample->title);
        ReplayRecording recording;
        recording.game = game;
        recording.startTime = QDateTime(sample->played, QTime(20, 30));
        recording.endTime = recording.startTime.addSecs(60 * sample->minutes);
        recording.frameCount = quint32(sample->minutes * 60 * 30);
        recording.title = title;
        recording.versionText = QString::fromLatin1(samples.versionText);
        recording.gameInformation = gameInformationText(game, sample->mapPath, sample->slotList);
        const QString path = resolvePathIgnoringCase(replaysFolder, title + u".rep");
        if (!writeReplay(path, recording, error))
            return false;
        // The list dates a replay by its file, as the game leaves it when the match ends.
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite) ||
            !file.setFileTime(recording.endTime, QFileDevice::FileModificationTime)) {
            if (error)
                *error = u"« " + path + u" » : " + file.errorString();
            return false;
        }
    }
    return true;
}

} // namespace marvok
