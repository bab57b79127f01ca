#pragma once
// Every window of the program that carries translation keys, built in code as the program builds
// them, for tests that compare the keys with the language files.
#include <QWidget>
#include <memory>
#include <vector>

namespace marvok::test {

// Form1, Form2, Form3, Form4, the BIG page with its preview window Form6 and the four install
// dialogs, unloaded and hidden.
std::vector<std::unique_ptr<QWidget>> everyWindow();

// The translation keys those windows carry, each once, in walking order.
QStringList everyWindowKey();

} // namespace marvok::test
