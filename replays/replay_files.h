#pragma once
// Renaming and deleting replay files. A replay's title is its file name without ".rep"; both
// operations stay inside the replays folder and change nothing unless they can do all of it.
#include <QString>

namespace marvok {

struct ReplayRename {
    enum Outcome {
        Renamed,
        EmptyTitle,   // nothing but blanks
        InvalidTitle, // holds "/" or "\", or begins with "." (a hidden file the list would not show)
        NameTaken,    // an entry of that name, without regard to case, is already in the folder
        Failed,       // the file system refused; `error` says why
    };
    Outcome outcome = Failed;
    QString fileName; // the name the replay has (Renamed) or would have had
    QString error;
};

// Renames the replay `fileName` of `folder` to `newTitle` + ".rep". A change of letter case alone
// is a rename like any other.
ReplayRename renameReplay(const QString& folder, const QString& fileName, const QString& newTitle);

// Deletes the replay `fileName` of `folder`; `error` says why it could not.
bool deleteReplay(const QString& folder, const QString& fileName, QString* error = nullptr);

} // namespace marvok
