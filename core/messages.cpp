#include "core/messages.h"

#include <map>

namespace marvok {
namespace {

const std::map<int, MessageInfo>& table() {
    using namespace MsgStyle;
    static const std::map<int, MessageInfo> messages = {
        {0,
         {QStringLiteral(
              "Options enregistrées. Vous devez redémarrer pour que les changements prennent effet."),
          Information,
          {}}},
        {1,
         {QStringLiteral("Le fichier spécifé existe déjà."), Critical, QStringLiteral("Extraction de BIG")}},
        {2,
         {QStringLiteral("Une erreur s'est produite, l'application va se terminer. Veuillez signaler cette "
                         "erreur au concepteur du programme"),
          Critical,
          {}}},
        {3,
         {QStringLiteral("Le fichier %1 existe déjà. Êtes-vous sûr de vouloir l'écraser?"),
          YesNoCancelQuestion,
          {}}},
        {4,
         {QStringLiteral("Êtes-vous sûr de vouloir supprimer la ShellMap \"%1\"?"), YesNoQuestion,
          QStringLiteral("Supprimer une ShellMap")}},
        {5, {QStringLiteral("Êtes-vous sûr de vouloir supprimer ce replay?"), YesNoQuestion, {}}},
        {8, {QStringLiteral("Options enregistrées."), Information, {}}},
        {9, {QStringLiteral("Êtes-vous sûr de vouloir supprimer la carte %1?"), YesNoQuestion, {}}},
        {10,
         {QStringLiteral("La ShellMap que vous essayer d'installer est destinée au jeu Command & Conquer "
                         "Generals: Heure H qui n'a pas été détecté sur votre ordinateur ou n'est pas "
                         "sélectionné. Impossible d'installer la ShellMap."),
          Critical, QStringLiteral("ShellMap pour Heure H")}},
        {11,
         {QStringLiteral("La ShellMap que vous essayer d'installer est destinée aux jeux Command & Conquer "
                         "Generals ou la Bataille pour la Terre du Milieu qui n'ont pas été détectés sur "
                         "votre ordinateur ou ne sont pas sélectionnés. Impossible d'installer la ShellMap."),
          Critical, QStringLiteral("ShellMap pour Generals")}},
        {12,
         {QStringLiteral("Erreur pendant l'installation de la ShellMap.\r\n\r\nCode d'erreur : %1"), Ok, {}}},
        {13, {QStringLiteral("Aucune Shellmap trouvée."), Critical, {}}},
        {14,
         {QStringLiteral("Erreur pendant l'enregistrement des informations.\r\n\r\nCode d'erreur : %1"),
          Ok,
          {}}},
        {15,
         {QStringLiteral("Erreur dans la suppression de la shellmap : %1"), Critical,
          QStringLiteral("Marvok 2")}},
        {16,
         {QStringLiteral("Impossible de détecter une installation valide de Generals, de Heure H ou de la "
                         "Bataille pour la Terre du Milieu."),
          Critical, QStringLiteral("Erreur")}},
        {17, {QStringLiteral("Extraction terminée avec succès."), Information, {}}},
        {18,
         {QStringLiteral(
              "Erreur pendant la lecture du fichier CSF. Ce fichier n'est peut-être pas un fichier "
              "CSF valide."),
          Critical,
          {}}},
        {19, {QStringLiteral("%1 enregistré avec succès."), Information, {}}},
        {20, {QStringLiteral("Cartes installées avec succès."), Information, {}}},
        {21, {QStringLiteral("Aucune carte détectée."), Critical, {}}},
        {22, {QStringLiteral("Replays installés avec succès."), Information, {}}},
        {23, {QStringLiteral("Aucun replay détecté."), Critical, {}}},
        {24, {QStringLiteral("Veuillez entrer un nom pour la shellmap."), Exclamation, {}}},
        {25, {QStringLiteral("Êtes-vous sûr de vouloir supprimer ce mod?"), YesNoQuestion, {}}},
        {26, {QStringLiteral("Aucun mod détecté."), Critical, {}}},
        {27, {QStringLiteral("Mods installés avec succès."), Information, {}}},
        {Msg::CannotEncodeName,
         {QStringLiteral("Le nom \"%1\" contient un caractère que le jeu ne peut pas enregistrer."),
          Critical,
          {}}},
        {Msg::ArchiveTooLarge,
         {QStringLiteral(
              "L'archive dépasserait la taille maximale de 4 Go d'un fichier BIG. Aucun fichier n'a été "
              "écrit."),
          Critical,
          {}}},
        {Msg::WriteFailed,
         {QStringLiteral(
              "Impossible d'enregistrer le fichier. Le fichier existant n'a pas été modifié.\r\n\r\n%1"),
          Critical,
          {}}},
        {Msg::DeleteFailed, {QStringLiteral("La suppression a échoué : %1"), Critical, {}}},
        // CSF editor: 32 to 34.
        {Msg::CsfTableFull,
         {QStringLiteral("Le fichier CSF contient déjà 32767 chaînes, le maximum possible. Aucune chaîne n'a "
                         "été ajoutée."),
          Exclamation,
          {}}},
        // Replays: 35 to 39.
        {Msg::ReplayTitleEmpty,
         {QStringLiteral("Veuillez entrer un titre pour le replay."), Exclamation, {}}},
        {Msg::ReplayTitleInvalid,
         {QStringLiteral(
              "Le titre \"%1\" ne peut pas servir de nom de fichier : il ne doit contenir ni / ni \\ "
              "et ne doit pas commencer par un point."),
          Exclamation,
          {}}},
        {Msg::ReplayNameTaken,
         {QStringLiteral(
              "Un fichier nommé \"%1\" existe déjà dans le dossier des replays. Veuillez choisir un "
              "autre titre."),
          Exclamation,
          {}}},
        {Msg::ReplayRenameFailed,
         {QStringLiteral("Le replay n'a pas pu être renommé, il garde son titre.\r\n\r\n%1"), Critical, {}}},
        {Msg::ReplayDeleteFailed,
         {QStringLiteral("Le replay n'a pas pu être supprimé.\r\n\r\n%1"), Critical, {}}},
        // ShellMaps: 40 to 49.
        {Msg::ShellMapGameNotInstalled,
         {QStringLiteral("Le jeu %1 n'a pas été détecté sur votre ordinateur. Impossible d'installer la "
                         "ShellMap."),
          Critical,
          {}}},
        // BIG editor and preview: 50 to 59.
        {Msg::BigExtractionIncomplete,
         {QStringLiteral("Extraction terminée, mais ces fichiers n'ont pas pu être extraits :\r\n\r\n%1"),
          Exclamation,
          QStringLiteral("Extraction de BIG")}},
        // Install dialogs: 60 to 69.
        {Msg::InstallGameNotChosen,
         {QStringLiteral("Veuillez choisir le jeu pour lequel installer les fichiers."), Exclamation, {}}},
        {Msg::InstallGameNotInstalled,
         {QStringLiteral("Le jeu %1 n'a pas été détecté sur votre ordinateur. Impossible d'y installer des "
                         "fichiers."),
          Critical,
          {}}},
        {Msg::InstallCopyFailed,
         {QStringLiteral("Erreur pendant l'installation. Ces fichiers n'ont pas pu être installés :\r\n\r\n%1"),
          Critical,
          {}}},
    };
    return messages;
}

} // namespace

const MessageInfo& messageInfo(int number) {
    static const MessageInfo empty;
    const auto it = table().find(number);
    return it == table().end() ? empty : it->second;
}

QString messageText(int number, const QString& value) {
    QString text = messageInfo(number).text;
    text.replace(QStringLiteral("%1"), value);
    return text;
}

std::array<QString, MessageCount>& MsgStrings() {
    static std::array<QString, MessageCount> strings;
    return strings;
}

QString& MessageFileName() {
    static QString name;
    return name;
}

QString composeMessageText(int number, const QString& text, const FailureDetails& failure) {
    const QString translated = number >= 0 && number < MessageCount ? MsgStrings()[number] : QString();
    const QString number2 = QString::number(failure.number);
    if (translated.isEmpty()) {
        if (number == 2)
            return text + u"\r\n\r\nDetails :\r\nError " + number2 + u" : " + failure.description +
                   u", source : " + failure.source;
        if (number == 1)
            return text + u"\r\n\r\nFile : " + MessageFileName();
        return text;
    }
    if (number == 2)
        return translated + u"\r\n\r\nDétails :\r\nErreur n° " + number2 + u" : " + failure.description +
               u", source : " + failure.source;
    return translated;
}

} // namespace marvok
