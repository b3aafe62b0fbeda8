#include "app/sheet_dump.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include "linkcalc/calc_sheet.h"

namespace linkcalc::app {

void DumpSheetIfAsked(const CalcSheet& sheet) {
    const QString path = qEnvironmentVariable("LINKCALC_SHEET_DUMP");
    if (path.isEmpty()) return;
    QJsonObject fields;
    for (const FieldInfo& info : kFields) {
        fields.insert(QString::fromUtf8(info.name.data(), static_cast<qsizetype>(info.name.size())),
                      QString::fromStdString(sheet.Text(info.field)));
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(QJsonDocument(QJsonObject{{QStringLiteral("fields"), fields}}).toJson());
    }
}

}  // namespace linkcalc::app
