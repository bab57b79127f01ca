#include "replays/replay_players.h"

#include "tests/support/test_files.h"

#include <gtest/gtest.h>

using namespace marvok;

namespace {

// A node as "parent|key|text|image".
QString describe(const PlayerNode& node) {
    return node.parentKey + u'|' + node.key + u'|' + node.text + u'|' + QString::number(node.image);
}

constexpr int GroupCount = 11; // the root, the observers, eight teams, no team

QStringList lines(std::initializer_list<const char*> texts) {
    QStringList result;
    for (const char* text : texts)
        result.append(QString::fromUtf8(text));
    return result;
}

} // namespace

TEST(ReplayPlayers, TheRootAndTheTenGroupsComeFirstInTheirOrder) {
    const PlayersTree tree = buildPlayersTree("", ZeroHour);
    QStringList groups;
    for (const PlayerNode& node : tree.nodes)
        groups.append(describe(node));
    EXPECT_EQ(groups,
              lines({"|Players|Joueurs|15", "Players|obs|Observateurs|5", "Players|Team 0|Equipe 1|6",
                     "Players|Team 1|Equipe 2|7", "Players|Team 2|Equipe 3|8", "Players|Team 3|Equipe 4|9",
                     "Players|Team 4|Equipe 5|10", "Players|Team 5|Equipe 6|11", "Players|Team 6|Equipe 7|12",
                     "Players|Team 7|Equipe 8|13", "Players|Team -1|Sans Equipe|14"}));
    EXPECT_EQ(tree.playerCount, 0);
}

TEST(ReplayPlayers, SlotListsGivePlayersByTeamWithTheirFactions) {
    struct Case {
        QByteArray slotList;
        GameKind game;
        QStringList players; // the nodes after the groups
        int count;
    };
    const Case cases[] = {
        // The games' own example: the open slot is nobody.
        {"HAnna,0,0,TT,2,6,1,0,1:CM,3,8,2,1:O:X:X:X:X:X", ZeroHour,
         lines({"Team 0|Anna (Pinpoint Townes)|Anna (Pinpoint Townes)|2",
                "Team 1|IA1|IA Moyen (Ta Hun Kwai)|3"}),
         2},
        {"X:X:X:X:X:X:X:X", ZeroHour, {}, 0},
        {"O:O:X:X:X:X:X:X", Generals, {}, 0},
        // Faction -2 is an observer, -1 a random side.
        {"HAnna,0,0,TT,2,-1,1,0,1:HBob,0,0,TT,3,-2,-1,-1,1:HCid,0,0,TT,4,-2,-1,2,1", ZeroHour,
         lines({"Team 0|Anna|Anna|1", "obs|Bob|Bob|4", "obs|Cid|Cid|4"}), 1},
        {"HAnna,0,0,TT,2,4,1,3,1:CE,1,6,-1,-1:CH,1,7,-1,8:HBob,0,0,TT,3,-2,-1,-1,1", BattleForMiddleEarth,
         lines({"Team 3|Anna (Gondor)|Anna (Gondor)|1", "Team -1|IA1|IA Facile (Mordor)|1",
                "Team -1|IA2|IA Difficile|1", "obs|Bob|Bob|4"}),
         3},
        {"HAnna,0,0,TT,2,3,1,7,1:CM,1,-1,2,-1:CH,1,2,2,8", Generals,
         lines({"Team 7|Anna|Anna|3", "Team -1|IA1|IA Moyen|1", "Team -1|IA2|IA Difficile|2"}), 3},
        {"HAnna,0,0,TT,2,2,1,4,1:CE,1,12,-1,5:CM,1,13,-1,6:CH,1,5,-1,0", ZeroHour,
         lines({"Team 4|Anna|Anna|2", "Team 5|IA1|IA Facile (Rodall Demo Juhziz)|4",
                "Team 6|IA2|IA Moyen (Prince Kassaad)|4", "Team 0|IA3|IA Difficile (Alexis Alexander)|2"}),
         4},
        {"X:X:X:X:X:X:X:CE,1,2,3,0", ZeroHour, lines({"Team 0|IA7|IA Facile|2"}), 1},
        {"CE,1,3,0,1:CM,1,3,0,1:CH,1,3,0,1:CX,1,3,0,1", Generals,
         lines({"Team 1|IA0|IA Facile|3", "Team 1|IA1|IA Moyen|3", "Team 1|IA2|IA Difficile|3",
                "Team 1|IA3|IA Difficile|3"}),
         4},
        // Entries the games do not write: too few fields, fields that are not numbers, teams and
        // factions out of range. They are players without a team and with the question mark.
        {"HShort,1,2:CE,1,abc,0,zz:CM,1,3,0,9:CH,1,20,0,-5:HZero,0,0,TT,1,0,0,1,1:H:", Generals,
         lines({"Team -1|Short|Short|1", "Team -1|IA1|IA Facile|1", "Team -1|IA2|IA Moyen|3",
                "Team -1|IA3|IA Difficile|1", "Team 1|Zero|Zero|1", "Team -1|#2||1"}),
         6},
        {"Z:;:", Generals, {}, 0},
        // Keys stay unique when names repeat or look like other keys.
        {"HAnna,0,0,TT,1,3,0,0,1:HAnna,0,0,TT,1,3,0,1,1:HPlayers,0,0,TT,1,3,0,1,1:HIA3,0,0,TT,1,3,0,1,1:"
         "CE,1,3,0,1",
         Generals,
         lines({"Team 0|Anna|Anna|3", "Team 1|Anna#2|Anna|3", "Team 1|Players#2|Players|3",
                "Team 1|IA3|IA3|3", "Team 1|IA4|IA Facile|3"}),
         5},
        {"HIA1,0,0,TT,1,3,0,1,1:CE,1,3,0,1", Generals,
         lines({"Team 1|IA1|IA1|3", "Team 1|IA1#2|IA Facile|3"}), 2},
        // Names are UTF-8 where their bytes are, else Windows-1252.
        {"HZo\xc3\xab,0,0,TT,1,3,0,1,1:HZo\xeb,0,0,TT,1,3,0,1,1", Generals,
         lines({"Team 1|Zo\xc3\xab|Zo\xc3\xab|3", "Team 1|Zo\xc3\xab#2|Zo\xc3\xab|3"}), 2},
    };
    for (const Case& c : cases) {
        const PlayersTree tree = buildPlayersTree(c.slotList, c.game);
        QStringList players;
        for (qsizetype i = GroupCount; i < tree.nodes.size(); ++i)
            players.append(describe(tree.nodes[i]));
        EXPECT_EQ(players, c.players) << c.slotList.toStdString() << " in game " << c.game;
        EXPECT_EQ(tree.playerCount, c.count) << c.slotList.toStdString();
        EXPECT_EQ(countPlayers(c.slotList), c.count) << c.slotList.toStdString();
    }
}
