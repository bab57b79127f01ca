#pragma once
// A settings store with the games the test chooses installed, in a temporary folder, and a fresh
// game environment.
#include "core/game_environment.h"
#include "tests/support/test_files.h"

#include <initializer_list>

namespace marvok::test {

class GameSetup {
public:
    explicit GameSetup(std::initializer_list<GameKind> installed = {Generals, ZeroHour,
                                                                    BattleForMiddleEarth});
    ~GameSetup();

    QString store() const { return m_folder.file(QStringLiteral("registry.reg")); }
    QString installFolder(GameKind game) const;
    QString folder() const { return m_folder.path(); }
    QString programFolder() const { return m_folder.file(QStringLiteral("program")); }

private:
    TempFolder m_folder;
    QByteArray m_savedRegistry;
    QByteArray m_savedHome;
};

} // namespace marvok::test
