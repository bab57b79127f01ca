#include "replays/replay_header.h"
#include "replays/replay_list.h"
#include "replays/replay_players.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/fuzz_targets.h"

#include <QSet>

namespace marvok::fuzz {
namespace {

// The tree must build in order: unique keys, each parent before its children, the root alone
// without one.
void checkTree(QByteArrayView slotList, GameKind game) {
    const PlayersTree tree = buildPlayersTree(slotList, game);
    QSet<QString> keys;
    for (qsizetype k = 0; k < tree.nodes.size(); ++k) {
        const PlayerNode& node = tree.nodes[k];
        require(!node.key.isEmpty() && !keys.contains(node.key), "every node has a key of its own");
        require(k == 0 ? node.parentKey.isEmpty() : keys.contains(node.parentKey),
                "every node comes after its parent");
        require(node.image >= 1 && node.image <= PlayerImage::Count, "every picture exists");
        keys.insert(node.key);
    }
    require(tree.playerCount == countPlayers(slotList), "the tree and the list count the same players");
}

void checkSlotList(QByteArrayView slotList) {
    for (GameKind game : {Generals, ZeroHour, BattleForMiddleEarth})
        checkTree(slotList, game);
}

} // namespace

void replayHeader(QByteArrayView input) {
    checkSlotList(input.first(std::min<qsizetype>(input.size(), ReplayHeaderWindowSize)));

    const std::optional<ReplayHeader> header = parseReplayHeader(input);
    require(header.has_value() == hasReplayMagic(input), "a header is read exactly when the magic is there");
    if (header) {
        require(header->slotList.size() <= ReplayHeaderWindowSize, "the slot list lies in the header window");
        require(header->hasSlotList || header->slotList.isEmpty(), "no slot list without its mark");
        checkSlotList(header->slotList);
    }

    const QString folder = freshScratchFolder();
    writeInput(folder + u"/input.rep", input);
    const std::optional<ReplayRow> row = readReplayRow(folder, QStringLiteral("input.rep"));
    require(row.has_value() == header.has_value(), "the list shows exactly the replays");
    if (row) {
        require(row->version == header->version && row->map == header->map &&
                    row->slotList == header->slotList,
                "the list row shows the header's values");
        require(row->players.isEmpty() != header->hasSlotList,
                "players are counted when there is a slot list");
    }
}

} // namespace marvok::fuzz
