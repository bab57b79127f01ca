#include "replays/replay_players.h"

#include "core/text_codec.h"

#include <QSet>
#include <cstdlib>
#include <optional>

namespace marvok {
namespace {

constexpr int ObserverFaction = -2;
constexpr int TeamCount = 8;

enum class SlotKind { None, Human, Observer, Computer };

struct Slot {
    SlotKind kind = SlotKind::None;
    QString name;
    std::optional<int> faction;
    std::optional<int> team;
};

QList<QByteArrayView> split(QByteArrayView text, char separator) {
    QList<QByteArrayView> parts;
    qsizetype start = 0;
    for (qsizetype at; (at = text.indexOf(separator, start)) >= 0; start = at + 1)
        parts.append(text.sliced(start, at - start));
    parts.append(text.sliced(start));
    return parts;
}

std::optional<int> numberField(const QList<QByteArrayView>& fields, qsizetype index) {
    if (index >= fields.size())
        return std::nullopt;
    bool ok = false;
    const int value = fields[index].toByteArray().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QString difficultyName(QByteArrayView code) {
    if (code == "CE")
        return QStringLiteral("IA Facile");
    if (code == "CM")
        return QStringLiteral("IA Moyen");
    return QStringLiteral("IA Difficile");
}

Slot readSlot(QByteArrayView entry) {
    Slot slot;
    if (entry.isEmpty() || (entry[0] != 'H' && entry[0] != 'C'))
        return slot;
    const QList<QByteArrayView> fields = split(entry, ',');
    if (entry[0] == 'H') {
        slot.name = decodeUtf8OrWindows1252(fields[0].sliced(1));
        slot.faction = numberField(fields, 5);
        slot.team = numberField(fields, 7);
        slot.kind = slot.faction == ObserverFaction ? SlotKind::Observer : SlotKind::Human;
    } else {
        slot.name = difficultyName(fields[0]);
        slot.faction = numberField(fields, 2);
        slot.team = numberField(fields, 4);
        slot.kind = SlotKind::Computer;
    }
    return slot;
}

struct Faction {
    QString suffix;
    int image = PlayerImage::Unknown;
};

Faction zeroHourGeneral(int faction) {
    struct General {
        const char* name;
        int image;
    };
    static constexpr General generals[] = {
        {" (Alexis Alexander)", PlayerImage::Blue},   {" (Pinpoint Townes)", PlayerImage::Blue},
        {" (Malcom Ace Granger)", PlayerImage::Blue}, {" (Ta Hun Kwai)", PlayerImage::Red},
        {" (Anvil Shin Fai)", PlayerImage::Red},      {" (Tsing Shi Tao)", PlayerImage::Red},
        {" (Dr. Thrax)", PlayerImage::Green},         {" (Rodall Demo Juhziz)", PlayerImage::Green},
        {" (Prince Kassaad)", PlayerImage::Green},
    };
    const General& general = generals[faction - 5];
    return {QString::fromUtf8(general.name), general.image};
}

// A faction without a picture of its own, or none given, shows the question mark.
int emblem(std::optional<int> faction) {
    if (!faction)
        return PlayerImage::Unknown;
    const qint64 image = std::abs(qint64(*faction));
    return image >= 1 && image <= PlayerImage::Count ? int(image) : PlayerImage::Unknown;
}

Faction faction(GameKind game, std::optional<int> number) {
    switch (game) {
    case ZeroHour:
        if (number && *number >= 5 && *number <= 13)
            return zeroHourGeneral(*number);
        return {QString(), emblem(number)};
    case BattleForMiddleEarth:
        switch (number.value_or(0)) {
        case 3:
            return {QStringLiteral(" (Rohan)"), PlayerImage::Unknown};
        case 4:
            return {QStringLiteral(" (Gondor)"), PlayerImage::Unknown};
        case 5:
            return {QStringLiteral(" (Isengard)"), PlayerImage::Unknown};
        case 6:
            return {QStringLiteral(" (Mordor)"), PlayerImage::Unknown};
        default:
            return {QString(), PlayerImage::Unknown};
        }
    case Generals:
        break;
    }
    return {QString(), emblem(number)};
}

QString teamGroupKey(std::optional<int> team) {
    return team && *team >= 0 && *team < TeamCount ? teamKey(*team) : NoTeamKey;
}

class TreeBuilder {
public:
    void add(const QString& key, const QString& parentKey, const QString& text, int image) {
        m_tree.nodes.append({uniqueKey(key), parentKey, text, image});
    }
    PlayersTree& tree() { return m_tree; }

private:
    // Player keys come from names, which may repeat or equal another node's key.
    QString uniqueKey(const QString& wanted) {
        QString key = wanted;
        for (int n = 2; key.isEmpty() || m_keys.contains(key); ++n)
            key = wanted + u'#' + QString::number(n);
        m_keys.insert(key);
        return key;
    }

    PlayersTree m_tree;
    QSet<QString> m_keys;
};

} // namespace

QString teamKey(int team) {
    return QStringLiteral("Team ") + QString::number(team);
}

PlayersTree buildPlayersTree(QByteArrayView slotList, GameKind game) {
    TreeBuilder builder;
    builder.add(PlayersRootKey, QString(), QStringLiteral("Joueurs"), PlayerImage::Root);
    builder.add(ObserversKey, PlayersRootKey, QStringLiteral("Observateurs"), PlayerImage::ObserversGroup);
    for (int team = 0; team < TeamCount; ++team)
        builder.add(teamKey(team), PlayersRootKey, QStringLiteral("Equipe ") + QString::number(team + 1),
                    PlayerImage::FirstTeam + team);
    builder.add(NoTeamKey, PlayersRootKey, QStringLiteral("Sans Equipe"), PlayerImage::NoTeam);

    const QList<QByteArrayView> slotEntries = split(slotList, ':');
    for (qsizetype index = 0; index < slotEntries.size(); ++index) {
        const Slot slot = readSlot(slotEntries[index]);
        switch (slot.kind) {
        case SlotKind::None:
            break;
        case SlotKind::Observer:
            builder.add(slot.name, ObserversKey, slot.name, PlayerImage::Green);
            break;
        case SlotKind::Human:
        case SlotKind::Computer: {
            const Faction side = faction(game, slot.faction);
            const QString text = slot.name + side.suffix;
            const QString key =
                slot.kind == SlotKind::Human ? text : QStringLiteral("IA") + QString::number(index);
            builder.add(key, teamGroupKey(slot.team), text, side.image);
            ++builder.tree().playerCount;
            break;
        }
        }
    }
    return std::move(builder.tree());
}

int countPlayers(QByteArrayView slotList) {
    int count = 0;
    for (QByteArrayView entry : split(slotList, ':')) {
        const SlotKind kind = readSlot(entry).kind;
        count += kind == SlotKind::Human || kind == SlotKind::Computer ? 1 : 0;
    }
    return count;
}

} // namespace marvok
