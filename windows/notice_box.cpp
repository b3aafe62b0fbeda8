#include "windows/notice_box.h"

#include <QIcon>
#include <QMessageBox>
#include <QPushButton>

#include "windows/qt_text.h"

namespace linkcalc::windows {
QString NoticeText(const Notice& notice) {
    return ToQString(notice.message).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void PrepareNoticeBox(QMessageBox& box, const Notice& notice, const QFont& font) {
    box.setFont(font);
    box.setIcon(QMessageBox::NoIcon);
    box.setTextFormat(Qt::PlainText);
    box.setText(NoticeText(notice));
    box.setWindowTitle(ToQString(notice.ShownTitle()));
    box.setStandardButtons(QMessageBox::Ok);
    // Under X the style puts a tick on a standard OK button unless it is told not to.
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
}

}  // namespace linkcalc::windows
