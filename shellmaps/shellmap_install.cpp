#include "shellmaps/shellmap_install.h"

#include "core/ini_runtime.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/safe_write.h"
#include "shellmaps/shellmap_catalogue.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSaveFile>

namespace marvok {
namespace {

// Copies `from` over `to` through a temporary file beside `to`.
bool copyReplacing(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 read = source.read(chunk.data(), chunk.size());
        if (read < 0) {
            target.cancelWriting();
            return false;
        }
        if (read == 0)
            break;
        if (!writeFully(target, chunk.constData(), read)) {
            target.cancelWriting();
            return false;
        }
    }
    return target.commit();
}

} // namespace

QString temporaryFolder() {
    return joinPath(programFolder(), QStringLiteral("tmp"));
}

bool unpackIntoTemporaryFolder(const QString& archive, const ccZip::PasswordQuestion& question) {
    const QString folder = temporaryFolder();
    QDir(folder).removeRecursively();
    if (!QDir().mkpath(folder))
        return false;
    ccZip zip;
    zip.setPasswordQuestion(question);
    zip.Init(archive);
    zip.Decompress(withTrailingSeparator(folder), QString(), 0);
    return true;
}

QString screenshotPatterns() {
    return QStringLiteral("*.jpg;*.gif;*.bmp;*.jpeg");
}

QStringList listImages(const QString& folder) {
    return listFolder(folder, screenshotPatterns(), EntryKind::Files);
}

ShellMapKind shellMapKindOf(const QString& folder) {
    const QStringList maps = listFolder(folder, QStringLiteral("*.map"), EntryKind::Files);
    if (maps.isEmpty())
        return ShellMapKind::Unknown;
    const QString& first = maps.first();
    if (first.compare(u"ShellMapMD.map", Qt::CaseInsensitive) == 0)
        return ShellMapKind::ZeroHour;
    if (first.compare(u"ShellMap1.map", Qt::CaseInsensitive) == 0)
        return ShellMapKind::Generals;
    return ShellMapKind::Unknown;
}

TargetChoice chooseTargetGame(ShellMapKind kind, GameKind chosen, bool forCommandLineFile,
                              const GameEnvironment& env) {
    TargetChoice choice;
    switch (kind) {
    case ShellMapKind::Unknown:
        choice.refusal = 13;
        return choice;
    case ShellMapKind::ZeroHour:
        if (chosen == ZeroHour || (forCommandLineFile && env.isInstalled(ZeroHour)))
            choice.game = ZeroHour;
        else
            choice.refusal = 10;
        break;
    case ShellMapKind::Generals:
        if (chosen == ZeroHour)
            choice.refusal = 11;
        else
            choice.game = chosen;
        break;
    }
    // Without an installation folder there is nowhere to put the files.
    if (choice.game && !env.isInstalled(*choice.game)) {
        choice.game.reset();
        choice.refusal = Msg::ShellMapGameNotInstalled;
    }
    return choice;
}

QString catalogueDate() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

InstalledEntry installCatalogueEntry(const QString& unpacked, GameKind target, const GameEnvironment& env,
                                     const ScreenshotChoice& screenshot) {
    const QString catalogue = cataloguePath(target);
    InstalledEntry entry;
    entry.index = catalogueCount(catalogue);
    const QString& install = env.InstallFolder[target];
    entry.folder = gameFolderPath(install, entryFolderName(entry.index));
    QDir().mkpath(entry.folder);
    currentCatalogue() = catalogue;

    switch (screenshot.source) {
    case ScreenshotChoice::None:
        break;
    case ScreenshotChoice::FromArchive:
        if (!screenshot.image.isEmpty())
            entry.screenShot = joinPath(entry.folder, screenshot.image);
        break;
    case ScreenshotChoice::OtherFile:
        entry.screenShot = screenshot.image;
        break;
    }

    for (const QString& name : listFolder(unpacked, QStringLiteral("*.*"), EntryKind::Files, true))
        copyReplacing(joinPath(unpacked, name), joinPath(entry.folder, name));

    const INIRuntime ini;
    const QString section = entrySection(entry.index);
    entry.writeResults = ini.WriteINI(section, QStringLiteral("Date"), catalogueDate(), catalogue);
    entry.writeResults += ini.WriteINI(section, QStringLiteral("ScreenShot"), entry.screenShot, catalogue);
    entry.writeResults += ini.WriteINI(QStringLiteral("Global"), QStringLiteral("Count"),
                                       QString::number(entry.index + 1), catalogue);
    return entry;
}

} // namespace marvok
