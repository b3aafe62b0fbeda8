#pragma once

#include <QFont>
#include <QString>

#include "linkcalc/notice.h"

class QMessageBox;

namespace linkcalc::windows {

// The message as the box shows it, broken where the notice joins its lines with "\r\n".
QString NoticeText(const Notice& notice);

// Sets up a box for a notice: its message and title, one OK button, no icon anywhere, the
// window's font.
void PrepareNoticeBox(QMessageBox& box, const Notice& notice, const QFont& font);

}  // namespace linkcalc::windows
