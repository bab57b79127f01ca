#include "i18n/language_generator.h"

#include "controls/user_control1.h"
#include "core/dialog_service.h"
#include "core/safe_write.h"
#include "core/text_codec.h"
#include "core/translation_keys.h"
#include "i18n/translate_form.h"

#include <QLabel>
#include <QListWidget>
#include <QSet>

namespace marvok {

QStringList captionLines(const QList<QWidget*>& windows) {
    QStringList lines;
    QSet<QString> listed;
    for (const QWidget* window : windows) {
        for (const QObject* control : keyedControls(window)) {
            const QString key = translationKey(control);
            QString caption;
            if (listed.contains(key) || !controlCaption(control, &caption))
                continue;
            lines << key + u'=' + caption;
            listed.insert(key);
        }
    }
    return lines;
}

QByteArray languageTemplate(const QStringList& lines) {
    QStringList all = {QStringLiteral(";Fichier de langue pour Marvok"),
                       QString(),
                       QStringLiteral("[Infos]"),
                       QStringLiteral("Language="),
                       QStringLiteral("Traductor="),
                       u"Version=" + QStringLiteral(MARVOK_VERSION),
                       QString(),
                       QStringLiteral("[LNG]")};
    all << lines;
    const QString text = all.join(QStringLiteral("\r\n")) + u"\r\n";
    // Captions translated in "/genlanfile extra" may hold what Windows-1252 cannot, or bytes that
    // would read back as UTF-8 ("Ã©"): the file is then UTF-8, which language files may be as well,
    // rather than holding "?" or the wrong letters.
    const std::optional<QByteArray> windows1252 = encodeWindows1252(text);
    const bool readsBack = windows1252 && decodeUtf8OrWindows1252(*windows1252) == text;
    return readsBack ? *windows1252 : text.toUtf8();
}

Form5::Form5(QWidget* parent)
    : QWidget(parent)
    , m_status(new QLabel(QStringLiteral("Status..."), this))
    , m_list(new QListWidget(this))
    , m_save(new UserControl1(this)) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("LNG File Generator"));
    setFixedSize(480, 380);
    m_status->setObjectName(QStringLiteral("Label1"));
    m_status->setGeometry(12, 10, 456, 18);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setGeometry(12, 34, 456, 304);
    m_save->setObjectName(QStringLiteral("Command1"));
    m_save->setCaption(QStringLiteral("Save LNG"));
    m_save->setGeometry(368, 348, 100, UserControl1::CellHeight);
    connect(m_save, &UserControl1::Click, this, &Form5::saveLng);
}

QString Form5::status() const {
    return m_status->text();
}

void Form5::setStatus(const QString& text) {
    m_status->setText(text);
}

QStringList Form5::lines() const {
    QStringList lines;
    for (int row = 0; row < m_list->count(); ++row)
        lines << m_list->item(row)->text();
    return lines;
}

void Form5::addLine(const QString& line) {
    m_list->addItem(line);
}

void Form5::saveLng() {
    const QString path = dialogs().saveFile(QString(), QString(), QString());
    setStatus(QStringLiteral("Saving..."));
    if (path.isEmpty() || !writeFileAtomically(path, languageTemplate(lines())))
        return;
    setStatus(QStringLiteral("File saved"));
}

Form5* CollectCaptions(const std::vector<WindowLoader>& windows) {
    std::vector<std::unique_ptr<QWidget>> loaded;
    for (const WindowLoader& load : windows) {
        // A window that cannot be loaded is left out of the walk.
        if (std::unique_ptr<QWidget> window = load())
            loaded.push_back(std::move(window));
    }
    auto* generator = new Form5;
    generator->setAttribute(Qt::WA_DeleteOnClose);
    generator->show();
    generator->setStatus(QStringLiteral("Reading captions..."));
    QList<QWidget*> walked;
    for (const auto& window : loaded)
        walked << window.get();
    walked << generator;
    for (const QString& line : captionLines(walked))
        generator->addLine(line);
    for (auto& window : loaded)
        window.reset();
    generator->setStatus(QStringLiteral("Finished"));
    return generator;
}

} // namespace marvok
