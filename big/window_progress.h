#pragma once
// The progress window behind what BIG writing and extraction report.
#include "big/archive_progress.h"

namespace marvok {

class WindowProgress : public ArchiveProgress {
public:
    // A window already shown under the same title only gets the new text, which it paints at most
    // every 50 ms: extracting thousands of entries one by one must not repaint thousands of times.
    void show(const QString& title, const QString& text) override;
    void text(const QString& text) override;
    void change(int position) override;
    void hide() override;
};

} // namespace marvok
