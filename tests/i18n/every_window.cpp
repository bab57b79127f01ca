#include "tests/i18n/every_window.h"

#include "app/form1.h"
#include "big/big_editor_page.h"
#include "core/translation_keys.h"
#include "i18n/translate_form.h"
#include "install/install_dialogs.h"
#include "shellmaps/shellmap_dialogs.h"
#include "shellmaps/startup_shellmap.h"

namespace marvok::test {

std::vector<std::unique_ptr<QWidget>> everyWindow() {
    std::vector<std::unique_ptr<QWidget>> windows;
    windows.push_back(std::make_unique<Form1>());
    windows.push_back(std::make_unique<Form2>());
    windows.push_back(std::make_unique<Form3>());
    windows.push_back(std::make_unique<Form4>());
    // The BIG page in a panel of its own, whether or not the main window holds it yet.
    auto bigPanel = std::make_unique<QWidget>();
    bigPanel->resize(660, 470);
    new BigEditorPage(bigPanel.get());
    windows.push_back(std::move(bigPanel));
    windows.push_back(std::make_unique<Form6>(nullptr));
    windows.push_back(std::make_unique<frmInstallHome>(QString()));
    windows.push_back(std::make_unique<frmInstallMap>());
    windows.push_back(std::make_unique<frmInstallRep>());
    windows.push_back(std::make_unique<frmInstallMod>());
    return windows;
}

QStringList everyWindowKey() {
    QStringList keys;
    const auto windows = everyWindow();
    for (const auto& window : windows) {
        for (const QObject* control : keyedControls(window.get())) {
            if (!keys.contains(translationKey(control)))
                keys << translationKey(control);
        }
    }
    return keys;
}

} // namespace marvok::test
