#pragma once
// What writing and extraction report while they run. The page binds it to the progress window; the
// format library itself knows no window.
#include <QString>

namespace marvok {

class ArchiveProgress {
public:
    virtual ~ArchiveProgress() = default;

    virtual void show(const QString& title, const QString& text) = 0;
    virtual void text(const QString& text) = 0;
    // 0 to 100.
    virtual void change(int position) = 0;
    virtual void hide() = 0;
};

} // namespace marvok
