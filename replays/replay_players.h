#pragma once
// The players of a replay, read from its slot list, as the nodes of the players tree. Entries are
// separated by ":", the fields inside an entry by ","; the games write
//   X                        a closed slot
//   O                        an open slot, nobody in it
//   HName,ip,port,TT,color,faction,start,team,...   a human; faction -2 is an observer, -1 random
//   CE|CM|CH,color,faction,start,team               a computer, easy, medium or hard
// Teams 0 to 7 are 'Equipe 1' to 'Equipe 8'; -1 (and 8) is no team. The faction gives a suffix
// (the Zero Hour generals, the Battle for Middle-earth factions) and the player's picture.
#include "core/game_environment.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace marvok {

// Numbers of the pictures of the players tree, counted from 1.
namespace PlayerImage {
constexpr int Unknown = 1; // question mark on a yellow square
constexpr int Blue = 2;
constexpr int Red = 3;
constexpr int Green = 4;
constexpr int ObserversGroup = 5;
constexpr int FirstTeam = 6; // the digits 1 to 8 are 6 to 13
constexpr int NoTeam = 14;
constexpr int Root = 15;
constexpr int Count = 15;
} // namespace PlayerImage

inline const QString PlayersRootKey = QStringLiteral("Players");
inline const QString ObserversKey = QStringLiteral("obs");
inline const QString NoTeamKey = QStringLiteral("Team -1");
// "Team 0" to "Team 7".
QString teamKey(int team);

struct PlayerNode {
    QString key;       // unique in the tree
    QString parentKey; // empty for the root
    QString text;
    int image = PlayerImage::Unknown;
};

struct PlayersTree {
    // The root, then the observers group, the eight team groups and the no-team group, then the
    // players and observers in slot order; each node comes after its parent and after its elder
    // siblings, so adding them in order builds the tree.
    QList<PlayerNode> nodes;
    int playerCount = 0; // humans and computers that play; observers and open slots do not count
};

// The tree for a slot list; which faction table applies depends on the game being shown.
PlayersTree buildPlayersTree(QByteArrayView slotList, GameKind game);

// The number of humans and computers that play, the replay list's "Joueurs" column.
int countPlayers(QByteArrayView slotList);

} // namespace marvok
