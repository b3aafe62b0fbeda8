// Preloaded (LD_PRELOAD) into the real program by the end-to-end tests, which is how they read
// what the window showed: when the program ends, this library writes the texts of the main
// window's 29 sheet fields, read from its widgets by object name, to the file that
// LINKCALC_SHEET_DUMP names, as {"fields": {control name: text}}.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "linkcalc/field.h"
#include "windows/qt_text.h"

namespace {

using linkcalc::windows::ToQString;

QString ShownText(const QWidget* widget) {
    if (const auto* box = qobject_cast<const QLineEdit*>(widget)) return box->text();
    if (const auto* choice = qobject_cast<const QComboBox*>(widget)) return choice->currentText();
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    return {};
}

QWidget* MainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("FrmOrlisCalc")) return widget;
    }
    return nullptr;
}

void WriteSheet(const QString& path) {
    const QWidget* window = MainWindow();
    if (window == nullptr) return;
    QJsonObject fields;
    for (const linkcalc::FieldInfo& info : linkcalc::kFields) {
        const QString name = ToQString(info.name);
        fields.insert(name, ShownText(window->findChild<QWidget*>(name)));
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(QJsonDocument(QJsonObject{{QStringLiteral("fields"), fields}}).toJson());
    }
}

void Install() {
    const QString path = qEnvironmentVariable("LINKCALC_SHEET_DUMP");
    if (path.isEmpty()) return;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [path] { WriteSheet(path); });
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(Install)
