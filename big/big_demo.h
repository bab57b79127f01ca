#pragma once
// Sample archives for the demo environment, made with our own writer: a mod for a game's folder and
// a larger archive with nested folders, INI files and pictures for the BIG page and its preview.
#include <QByteArray>
#include <QString>

namespace marvok {

// The archives addBigDemoContent writes.
inline const QString BigDemoModFileName = QStringLiteral("MarvokDemoMod.big");
inline const QString BigDemoSampleFileName = QStringLiteral("Exemple Marvok.big");

// An uncompressed 24-bit Targa picture of `width` x `height` (1 to 65535): a gradient with a
// diamond in the middle.
QByteArray demoTgaPicture(int width, int height);

// Writes BigDemoModFileName into `gameFolder` and BigDemoSampleFileName into `documentsFolder`,
// replacing files of those names; false with `error` set when either cannot be written.
bool addBigDemoContent(const QString& gameFolder, const QString& documentsFolder, QString* error);

} // namespace marvok
