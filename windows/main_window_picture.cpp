#include "windows/main_window_picture.h"

#include "windows/frm_orlis_calc.h"

namespace linkcalc::windows {

QPixmap EmptyMainWindowPicture(const TwipsArea& area) {
    FrmOrlisCalc empty;
    const QPoint topLeft(Pixels(area.left), Pixels(area.top));
    const QPoint bottomRight(Pixels(area.right), Pixels(area.bottom));
    return empty.grab(QRect(topLeft, bottomRight - QPoint(1, 1)));
}

}  // namespace linkcalc::windows
