#include "app/cli/replay_commands.h"

#include "replays/replay_header.h"
#include "replays/replay_list.h"
#include "replays/replay_players.h"

#include <QFileInfo>

namespace marvok::cli {
namespace {

const QString kInfo = QStringLiteral("replay info");
const QString kGameOption = QStringLiteral("--game");

QByteArray jsonString(const QString& text) {
    QString escaped;
    escaped.reserve(text.size() + 2);
    escaped += u'"';
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            escaped += QStringLiteral("\\\"");
            break;
        case u'\\':
            escaped += QStringLiteral("\\\\");
            break;
        case u'\n':
            escaped += QStringLiteral("\\n");
            break;
        case u'\r':
            escaped += QStringLiteral("\\r");
            break;
        case u'\t':
            escaped += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                escaped += QStringLiteral("\\u") + QString::number(c.unicode(), 16).rightJustified(4, u'0');
            else
                escaped += c;
        }
    }
    escaped += u'"';
    return escaped.toUtf8();
}

QByteArray jsonStringOrNull(const QString& text) {
    return text.isNull() ? QByteArray("null") : jsonString(text);
}

QByteArray jsonNumberOrNull(std::optional<int> value) {
    return value ? QByteArray::number(*value) : QByteArray("null");
}

const char* gameName(GameKind game) {
    switch (game) {
    case Generals:
        return "generals";
    case ZeroHour:
        return "zh";
    case BattleForMiddleEarth:
        break;
    }
    return "bfme";
}

std::optional<GameKind> parseGame(const QString& text) {
    for (GameKind game : {Generals, ZeroHour, BattleForMiddleEarth}) {
        if (text == QLatin1String(gameName(game)))
            return game;
    }
    return std::nullopt;
}

// The node of the one player of a single slot entry's tree; null for an open or closed slot.
const PlayerNode* playerNode(const PlayersTree& tree) {
    for (const PlayerNode& node : tree.nodes) {
        if (!node.parentKey.isEmpty() && node.parentKey != PlayersRootKey)
            return &node;
    }
    return nullptr;
}

std::optional<int> teamNumber(const QString& groupKey) {
    for (int team = 0; team < 8; ++team) {
        if (groupKey == teamKey(team))
            return team + 1; // as the tree shows it: "Equipe 1" to "Equipe 8"
    }
    return std::nullopt;
}

QString difficulty(const QString& computerName) {
    if (computerName == u"IA Facile")
        return QStringLiteral("easy");
    if (computerName == u"IA Moyen")
        return QStringLiteral("medium");
    return QStringLiteral("hard");
}

// The faction field of a slot entry: the sixth of a human's, the third of a computer's.
std::optional<int> factionNumber(QByteArrayView entry) {
    const QList<QByteArray> fields = entry.toByteArray().split(',');
    const qsizetype index = entry.startsWith('C') ? 2 : 5;
    bool ok = false;
    const int value = fields.value(index).toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// Each slot entry goes through the players tree alone, so that every player comes out as the tree
// shows it; the same entry read as Generals, which gives no faction a suffix, separates the name
// from the suffix.
QByteArray playersJson(const QByteArray& slotList, GameKind game) {
    QByteArray out = "[";
    bool first = true;
    for (const QByteArray& entry : slotList.split(':')) {
        const PlayersTree shown = buildPlayersTree(entry, game);
        const PlayerNode* player = playerNode(shown);
        if (!player)
            continue;
        const PlayersTree plain = buildPlayersTree(entry, Generals);
        const QString name = playerNode(plain)->text;
        const bool computer = entry.startsWith('C');
        out += first ? "" : ",";
        first = false;
        out += "{\"name\":" + jsonString(name) + ",\"text\":" + jsonString(player->text) +
               ",\"computer\":" + (computer ? "true" : "false") +
               ",\"difficulty\":" + jsonStringOrNull(computer ? difficulty(name) : QString()) +
               ",\"faction\":" + jsonNumberOrNull(factionNumber(entry)) +
               ",\"suffix\":" + jsonString(player->text.mid(name.size())) +
               ",\"team\":" + jsonNumberOrNull(teamNumber(player->parentKey)) +
               ",\"observer\":" + (player->parentKey == ObserversKey ? "true" : "false") + '}';
    }
    return out + ']';
}

int describeReplays(const Arguments& arguments) {
    std::optional<GameKind> chosenGame;
    if (arguments.has(kGameOption)) {
        chosenGame = parseGame(arguments.options.value(kGameOption));
        if (!chosenGame)
            return usageError(kInfo, QStringLiteral("--game takes generals, zh or bfme, not \"%1\"")
                                         .arg(arguments.options.value(kGameOption)));
    }
    int status = Success;
    for (const QString& path : arguments.operands) {
        // A bare file name stays as given, so that messages name it as the user did.
        const QFileInfo info(path);
        const bool inFolder = path.contains(u'/');
        QString error;
        const std::optional<ReplayRow> row =
            readReplayRow(inFolder ? info.path() : QString(), inFolder ? info.fileName() : path, &error);
        const std::optional<QByteArray> window = row ? readHeaderWindow(path, &error) : std::nullopt;
        if (!row || !window) {
            flushOutput();
            warn(kInfo, error);
            status = Failed;
            continue;
        }
        const GameKind game =
            chosenGame.value_or(window->startsWith("BFMEREPL") ? BattleForMiddleEarth : ZeroHour);
        const bool hasSlotList = !row->players.isEmpty();
        QByteArray out = "{\"file\":" + jsonString(path) + ",\"title\":" + jsonString(row->title) +
                         ",\"date\":" + jsonString(row->date) + ",\"version\":" + jsonString(row->version) +
                         ",\"map\":" + jsonString(row->map) + ",\"game\":\"" + gameName(game) + '"' +
                         ",\"playerCount\":" + (hasSlotList ? row->players.toUtf8() : QByteArray("null")) +
                         ",\"players\":" + playersJson(row->slotList, game) + "}\n";
        writeOutput(out);
    }
    if (!flushOutput())
        return fail(kInfo, QStringLiteral("cannot write to standard output"));
    return status;
}

} // namespace

QList<Command> replayCommands() {
    return {
        {kInfo,
         QStringLiteral("[--game generals|zh|bfme] FILE..."),
         QStringLiteral(
             "Prints one JSON object per line for each replay file, with the values the replay\n"
             "list and the players tree show:\n"
             "  file, title (the file name without its extension), date (dd/MM/yyyy, the file's\n"
             "  modification date), version, map, game, playerCount (humans and computers that\n"
             "  play; null without a slot list), players: one object per player and observer in\n"
             "  slot order with name (a computer's is its difficulty as the tree shows it), text\n"
             "  (the line of the tree), computer, difficulty (easy, medium, hard; null for a\n"
             "  human), faction (the number in the slot list: -1 random, -2 observer), suffix\n"
             "  (the faction's name as the tree adds it), team (1 to 8, null for none) and\n"
             "  observer.\n"
             "A file that is not a replay gets a message on standard error instead, the others\n"
             "are still printed, and the exit status is 1.\n\n"
             "  --game G   the faction names of generals, zh (Zero Hour) or bfme (The Battle for\n"
             "             Middle-earth); by default zh for \"GENREP\" files and bfme for \"BFMEREPL\"\n"),
         {{kGameOption, true}},
         1,
         -1,
         describeReplays},
    };
}

} // namespace marvok::cli
